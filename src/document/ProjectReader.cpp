#include "document/ProjectReader.h"

#include "document/ByteStreams.h"
#include "document/CMyDoc.h"
#include "document/ProjectFormat.h"
#include "imaging/ImageIO.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

namespace mc::document {

namespace {

ParseResult damaged() { return {std::nullopt, DamagedFileMessage()}; }

bool readDoubleFinite(ByteReader& in, double& value)
{
    // A NaN or infinite transform value cannot come from the program and
    // would poison every region built from the item.
    return in.readDouble(value) && std::isfinite(value);
}

// One item record into `record`; false when the record is incomplete or
// cannot be right.
bool readItem(ByteReader& in, ItemRecord& record)
{
    auto card = std::make_unique<Card>();
    std::int32_t alpha = 0, extent = 0, x = 0, y = 0;
    bool ok = in.readCountedUtf16(card->m_strPath)
        && readDoubleFinite(in, card->m_dAngle)
        && readDoubleFinite(in, card->m_dScale)
        && readDoubleFinite(in, card->m_dShearX)
        && readDoubleFinite(in, card->m_dShearY)
        && in.readBool16(card->m_bFlipH)
        && in.readBool16(card->m_bFlipV)
        && in.readBool16(card->m_bGray)
        && in.readBool16(card->m_bErased)
        && in.readBool16(card->m_bSemi)
        && in.readInt32(alpha)
        && in.readInt32(extent)
        && in.readBool16(card->m_bCut)
        && in.readInt32(x)
        && in.readInt32(y);
    if (!ok)
        return false;
    // The pixel effects work on 1..255 and 0..50; other values cannot come
    // from the program and are brought into range.
    card->m_nAlpha = std::clamp(alpha, 1, 255);
    card->m_nEraseExtent = std::clamp(extent, 0, 50);
    card->m_ptCenter = QPoint(x, y);
    if (card->m_bCut) {
        QByteArray shape;
        if (!in.readCountedBytes(shape))
            return false;
        std::optional<mc::Region> region = mc::Region::deserialize(shape);
        if (!region)
            return false;
        record.cutShape = std::move(*region);
    }
    record.card = std::move(card);
    return true;
}

// Pictures are read only from regular files: a path naming a device or a
// pipe must not block or feed the decoder without end.
bool isRegularFile(const QString& path)
{
    // A NUL cannot be part of a file name: such a path names no file.
    return !path.isEmpty() && !path.contains(QChar(0)) && QFileInfo(path).isFile();
}

enum class ItemLoad { Kept, Missing, Damaged };

// Decodes the item's picture, re-applies its effects and cut shape and
// computes its regions. Touches nothing but `record`.
ItemLoad loadItem(ItemRecord& record)
{
    Card& card = *record.card;
    // A picture that has gone is left out without a word.
    if (!isRegularFile(card.m_strPath) || !card.LoadImage())
        return ItemLoad::Missing;
    if (card.m_bCut && record.cutShape) {
        // A cut only ever narrows the picture's rectangle. A stored shape
        // reaching beyond it (more than rounding) was cut from a larger
        // picture since replaced: the part on the picture is kept.
        mc::Region shape = std::move(*record.cutShape);
        record.cutShape.reset();
        const QRectF picture = card.m_pClip->boundingRect().adjusted(-1, -1, 1, 1);
        if (!picture.contains(shape.boundingRect()))
            shape.intersect(*card.m_pClip);
        card.m_pClipSaved = std::make_unique<mc::Region>(*card.m_pClip);
        // A shape that keeps nothing would leave an item no one can see or
        // click: it is shown whole instead.
        if (shape.isEmpty())
            card.m_bCut = false;
        else
            card.m_pClip = std::make_unique<mc::Region>(std::move(shape));
    }
    const QTransform toView = card.Transform() * QTransform::fromTranslate(card.m_ptCenter.x(), card.m_ptCenter.y());
    const QRectF area = toView.mapRect(card.m_pClip->boundingRect());
    // Written so that a NaN or an overflow fails the test as well.
    const bool within = area.left() >= -kMaxItemExtent && area.right() <= kMaxItemExtent
        && area.top() >= -kMaxItemExtent && area.bottom() <= kMaxItemExtent;
    if (!within)
        return ItemLoad::Damaged;
    card.UpdateRegion();
    return ItemLoad::Kept;
}

// Runs `work` on this thread and on up to one helper thread per further
// core, no more threads than `tasks`; returns when every run has returned.
// Without threads to be had, this thread does all of the work alone.
template <typename Work>
void runOnCores(const Work& work, std::size_t tasks)
{
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::future<void>> helpers;
    for (std::size_t i = 1; i < std::min(cores, tasks); ++i) {
        try {
            helpers.push_back(std::async(std::launch::async, std::cref(work)));
        } catch (const std::system_error&) {
            break;
        }
    }
    work();
    for (std::future<void>& helper : helpers)
        helper.get();
}

} // namespace

ParseResult ParseProject(const QByteArray& bytes, QSize screen)
{
    ByteReader in(bytes);

    QByteArray magic;
    if (!in.readBytes(3, magic))
        return damaged();
    if (std::memcmp(magic.constData(), kProjectMagic, 3) != 0)
        return {std::nullopt, UnknownFormatMessage()};

    std::int32_t version = 0;
    if (!in.readInt32(version))
        return damaged();
    if (version < PROJECT_FORMAT_VERSION || version > kHighestKnownVersion)
        return {std::nullopt, UnknownFormatMessage()};

    QByteArray writer;
    if (!in.readCountedBytes(writer))
        return damaged();
    if (version > PROJECT_FORMAT_VERSION)
        return {std::nullopt, HigherVersionMessage(QString::fromUtf8(writer))};

    ProjectContents c;
    QByteArray bkPath;
    std::int32_t width = 0, height = 0, predefined = 0, placement = 0, count = 0;
    std::uint32_t color = 0;
    bool ok = in.readCountedBytes(bkPath)
        && in.readInt32(width)
        && in.readInt32(height)
        && in.readUInt32(color)
        && in.readInt32(predefined)
        && in.readInt32(placement)
        && in.readBool16(c.byDisplayScale)
        && in.readInt32(count);
    if (!ok)
        return damaged();
    c.bkPath = QString::fromUtf8(bkPath);
    // Larger than the screen is reduced to it per axis; an empty or negative
    // canvas cannot be shown or saved and becomes one pixel.
    c.canvasWidth = std::clamp(width, 1, std::max(1, screen.width()));
    c.canvasHeight = std::clamp(height, 1, std::max(1, screen.height()));
    c.bkColor = color;
    c.predefined = predefined;
    c.placement = placement;

    // Every record takes at least kMinItemRecordSize bytes, which bounds the
    // count by what the file can hold before anything is reserved.
    if (count < 0 || count > in.remaining() / kMinItemRecordSize)
        return damaged();
    c.items.reserve(std::size_t(count));
    for (std::int32_t i = 0; i < count; ++i) {
        ItemRecord record;
        if (!readItem(in, record))
            return damaged();
        c.items.push_back(std::move(record));
    }
    return {std::move(c), {}};
}

std::optional<LoadedProject> LoadPictures(ProjectContents contents)
{
    // Decoding dominates opening a project, and every item (and the
    // background) is decoded into pictures of its own, so the work is shared
    // among the processor's cores. The items keep their order: each result
    // lands in its own slot.
    const std::size_t count = contents.items.size();
    std::vector<ItemLoad> results(count, ItemLoad::Missing);
    QImage background;
    const bool hasBackground = isRegularFile(contents.bkPath);
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i <= count; i = next++) {
            if (i < count)
                results[i] = loadItem(contents.items[i]);
            else if (hasBackground)
                background = mc::imaging::decodeImage(contents.bkPath);
        }
    };
    runOnCores(work, count + 1);

    LoadedProject loaded;
    if (!background.isNull())
        loaded.bkImage = std::make_unique<QImage>(std::move(background));
    std::vector<ItemRecord> kept;
    kept.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (results[i] == ItemLoad::Damaged)
            return std::nullopt;
        if (results[i] == ItemLoad::Kept)
            kept.push_back(std::move(contents.items[i]));
    }
    contents.items = std::move(kept);
    loaded.contents = std::move(contents);
    return loaded;
}

ReadResult ReadProjectFile(const QString& path, QSize screen)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("Cannot open %1: %2").arg(path, file.errorString())};
    // Sequential files (pipes, devices) report no size; read them bounded.
    if (!file.isSequential() && file.size() > kMaxProjectFileSize)
        return {std::nullopt, FileTooLargeMessage()};
    const QByteArray bytes = file.read(kMaxProjectFileSize + 1);
    if (bytes.size() > kMaxProjectFileSize)
        return {std::nullopt, FileTooLargeMessage()};
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString())};

    ParseResult parsed = ParseProject(bytes, screen);
    if (!parsed.contents)
        return {std::nullopt, parsed.message};
    std::optional<LoadedProject> loaded = LoadPictures(std::move(*parsed.contents));
    if (!loaded)
        return {std::nullopt, DamagedFileMessage()};
    return {std::move(loaded), {}};
}

void ApplyProject(CMyDoc& doc, LoadedProject project)
{
    ProjectContents& c = project.contents;
    doc.DeleteAllCards();
    doc.m_strBkPath = c.bkPath;
    doc.m_pBkImage = std::move(project.bkImage);
    doc.m_nCanvasWidth = c.canvasWidth;
    doc.m_nCanvasHeight = c.canvasHeight;
    doc.m_crBkColor = c.bkColor;
    doc.m_nPredefined = c.predefined;
    doc.m_nPlacement = c.placement;
    doc.m_bByDisplayScale = c.byDisplayScale;
    for (ItemRecord& record : c.items)
        doc.m_listCards.AddTail(std::move(record.card));
}

bool OpenProject(CMyDoc& doc, const QString& path, QSize screen, QString* message)
{
    ReadResult result = ReadProjectFile(path, screen);
    if (!result.project) {
        if (message)
            *message = result.message;
        return false;
    }
    ApplyProject(doc, std::move(*result.project));
    doc.SetPathName(QFileInfo(path).absoluteFilePath());
    doc.SetModifiedFlag(false);
    doc.UpdateAllViews();
    return true;
}

} // namespace mc::document
