// Pictures coming in and going out: Add Image's file rules for any picture
// file (the open dialog, a paste of copied files, a drop), and the
// clipboard's Copy, Cut and Paste.
#include "view/CMyView.h"

#include "canvas/AddImagePlan.h"
#include "canvas/ClipboardPicture.h"
#include "dialogs/CMessageBox.h"
#include "document/CMyDoc.h"
#include "document/DecodeBudget.h"
#include "imaging/ImageIO.h"
#include "items/Card.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace {

// What the file managers put on the clipboard for copied files: a URI list,
// or GNOME's own list ("copy" or "cut", then one URI a line).
QStringList copiedFiles(const QMimeData* mime)
{
    QList<QUrl> urls = mime ? mime->urls() : QList<QUrl>();
    const QString gnome = QStringLiteral("x-special/gnome-copied-files");
    if (urls.isEmpty() && mime && mime->hasFormat(gnome)) {
        const QList<QByteArray> lines = mime->data(gnome).split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i)
            urls << QUrl(QString::fromUtf8(lines[i].trimmed()));
    }
    QStringList files;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

QString noMemoryText(const QString& what)
{
    return QStringLiteral("%1 is not added: the project's pictures would take more memory than is set aside for them.")
        .arg(what);
}

} // namespace

QPoint CMyView::VisibleCentre() const
{
    const QRect client(ScrollPosition(), DeviceClientRect().size());
    const QRect visible = client & m_layer.CanvasRect();
    return (visible.isEmpty() ? client : visible).center();
}

Card* CMyView::addCard(std::unique_ptr<Card> card, std::optional<QPoint> centre)
{
    if (centre) {
        card->m_ptCenter = *centre;
        card->UpdateRegion();
    }
    Card* added = m_pDoc->m_listCards.AddHead(std::move(card));
    InvalidateScrolled(added->m_rgnItem);
    m_pCurCard = added;
    Q_EMIT currentCardChanged(added);
    m_pDoc->SetModifiedFlag(true);
    return added;
}

QString CMyView::AddPictureFile(const QString& chosen, std::optional<QPoint> centre)
{
    const QString name = QStringLiteral("The file \"%1\"").arg(QDir::toNativeSeparators(chosen));
    const mc::canvas::AddImageFile file = mc::canvas::PrepareAddImageFile(chosen);
    if (!mc::document::PictureFitsBudget(*m_pDoc, file.path))
        return noMemoryText(name);
    std::unique_ptr<Card> card = Card::CreateFromFile(file.path);
    if (!card)
        return name + QStringLiteral(" cannot be added: it is not a picture that can be read.");
    addCard(std::move(card), centre);
    return {};
}

void CMyView::AddPictureFiles(const QStringList& paths, QPoint centre)
{
    QStringList refused;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        // Each a little below and right of the one before, so none hides
        // another entirely.
        const QString why = AddPictureFile(paths[i], centre + QPoint(kFileOffset, kFileOffset) * int(i));
        if (!why.isEmpty())
            refused << why;
    }
    if (!refused.isEmpty())
        mc::dialogs::ShowMessage(refused.join(QLatin1Char('\n')), window());
}

void CMyView::OnEditCopy()
{
    Card* card = m_pCurCard && m_pDoc->m_listCards.Contains(m_pCurCard) ? m_pCurCard : nullptr;
    const QImage picture = card ? mc::canvas::ItemPicture(*card) : RenderCanvas();
    if (picture.isNull()) {
        mc::dialogs::ShowMessage(QStringLiteral("Nothing is copied: the picture would be too large."), window());
        return;
    }
    QGuiApplication::clipboard()->setImage(picture);
}

void CMyView::OnEditCut()
{
    Card* card = m_pCurCard;
    if (!card || !m_pDoc->m_listCards.Contains(card))
        return;
    const QImage picture = mc::canvas::ItemPicture(*card);
    if (picture.isNull()) {
        mc::dialogs::ShowMessage(QStringLiteral("Nothing is cut: the picture would be too large."), window());
        return;
    }
    QGuiApplication::clipboard()->setImage(picture);
    // Deleted as Delete Image does, without asking: the picture is on the
    // clipboard and the step can be undone.
    const QRegion area = card->m_rgnItem;
    m_pCurCard = nullptr;
    m_pDoc->m_listCards.RemoveAndDelete(card);
    InvalidateScrolled(area);
    m_pDoc->SetModifiedFlag(true);
    Q_EMIT currentCardChanged(nullptr);
}

bool CMyView::CanPaste() const
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && (mime->hasImage() || !copiedFiles(mime).isEmpty());
}

void CMyView::OnEditPaste()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    const QStringList files = copiedFiles(mime);
    if (!files.isEmpty()) {
        AddPictureFiles(files, VisibleCentre());
        return;
    }
    if (!mime || !mime->hasImage())
        return;
    const QImage picture = qvariant_cast<QImage>(mime->imageData()).convertToFormat(QImage::Format_ARGB32);
    const QString what = QStringLiteral("The pasted picture");
    if (picture.isNull() || qint64(picture.width()) * picture.height() > mc::imaging::kMaxImagePixels
        || mc::document::ProjectPictureBytes(*m_pDoc) + mc::document::PictureBytes(picture.size())
               > mc::document::ProjectDecodeBudget()) {
        mc::dialogs::ShowMessage(noMemoryText(what), window());
        return;
    }
    const QString folder = mc::canvas::PastedPictureFolder();
    QString error;
    const QString path = mc::canvas::StorePastedPicture(picture, folder, &error);
    std::unique_ptr<Card> card = path.isEmpty() ? nullptr : Card::CreateFromFile(path);
    if (!card) {
        mc::dialogs::ShowMessage(QStringLiteral("%1 is not added: it cannot be kept in \"%2\" (%3).")
                                     .arg(what, QDir::toNativeSeparators(folder), error),
                                 window());
        return;
    }
    // At its own size when it fits the view (what was copied looks the
    // same), else made small as Add Image does.
    const QSize visible = DeviceClientRect().size();
    if (picture.width() <= visible.width() && picture.height() <= visible.height())
        card->m_dScale = 1.0;
    addCard(std::move(card), VisibleCentre());
}
