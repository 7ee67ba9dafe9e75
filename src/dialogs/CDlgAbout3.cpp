#include "dialogs/CDlgAbout3.h"

#include "dialogs/CItemDialogControls.h"
#include "dialogs/CWebLink.h"

#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTextBrowser>

static void initAboutResources()
{
    Q_INIT_RESOURCE(help);
    Q_INIT_RESOURCE(freedesktop);
}

using namespace mc::dialogs;

CDlgAbout3::CDlgAbout3(QWidget* parent)
    : QDialog(parent)
    , m_pBrowser(PlaceControl(new QTextBrowser(this), 0, QRect(36, 4, 166, 101)))
    , m_pIcon(PlaceControl(new QLabel(this), 0, QRect(10, 18, 22, 20)))
{
    initAboutResources();
    setWindowTitle(QStringLiteral("About Muralcrafter"));
    setFixedSize(DluSize(261, 109));
    // The page's own grey behind the icon and the button too: one surface.
    QPalette page = palette();
    page.setColor(QPalette::Window, QColor(0xe0, 0xe0, 0xe0));
    setPalette(page);

    const int iconPx = 32;
    m_pIcon->setPixmap(QIcon(QStringLiteral(":/freedesktop/icons/hicolor/32x32/apps/" MC_APP_ID ".png")).pixmap(iconPx));
    m_pIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_pBrowser->setFrameShape(QFrame::NoFrame);
    m_pBrowser->setOpenLinks(false);
    m_pBrowser->setSource(QUrl(QStringLiteral("qrc:/help/about.html")));
    connect(m_pBrowser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { OpenWebLink(url, this); });

    auto* ok = PlaceControl(new QPushButton(QStringLiteral("OK"), this), 1, QRect(204, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgAbout3::accept);
    ok->setFocus();
}
