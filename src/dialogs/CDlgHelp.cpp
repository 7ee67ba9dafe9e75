#include "dialogs/CDlgHelp.h"

#include "dialogs/DialogUnits.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The pages live in this static library's resources: naming them here keeps
// the linker from dropping them.
static void initHelpResources()
{
    Q_INIT_RESOURCE(help);
}

CDlgHelp::CDlgHelp(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , m_pBrowser(new QTextBrowser(this))
{
    initHelpResources();
    setWindowTitle(QStringLiteral("Quick Index"));
    resize(mc::dialogs::DluSize(474, 297));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pBrowser);
    m_pBrowser->setFrameShape(QFrame::NoFrame);
    m_pBrowser->setSource(QUrl(QStringLiteral("qrc:/help/help.html")));
}
