#include "document/ProjectReader.h"

#include "document/ByteStreams.h"
#include "document/CMyDoc.h"
#include "document/DecodeBudget.h"
#include "document/ProjectFormat.h"
#include "imaging/ImageIO.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

namespace mc::document {

namespace {

ParseResult damaged() { return {std::nullopt, DamagedFileMessage()}; }

// A NaN or infinite transform value cannot come from the program and would
// poison every region built from the item: the item is damaged, while the
// record's layout (and so the rest of the file) is still sound.
bool readDouble(ByteReader& in, double& value, bool& damaged)
{
    if (!in.readDouble(value))
        return false;
    if (!std::isfinite(value)) {
        damaged = true;
        value = 0.0;
    }
    return true;
}

// One item record into `record`; false when the file ends inside it.
bool readItem(ByteReader& in, const QByteArray& bytes, ItemRecord& record)
{
    const qsizetype start = in.position();
    auto card = std::make_unique<Card>();
    std::int32_t alpha = 0, extent = 0, x = 0, y = 0;
    bool ok = in.readCountedUtf16(card->m_strPath)
        && readDouble(in, card->m_dAngle, record.damaged)
        && readDouble(in, card->m_dScale, record.damaged)
        && readDouble(in, card->m_dShearX, record.damaged)
        && readDouble(in, card->m_dShearY, record.damaged)
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
        if (region)
            record.cutShape = std::move(*region);
        else
            record.damaged = true;
    }
    record.stored = bytes.mid(start, in.position() - start);
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

// The picture at `path`, or else the file of the same name in `projectDir`:
// a project folder moved or copied with its pictures opens whole. Empty
// when neither is there.
QString locatePicture(const QString& path, const QString& projectDir)
{
    if (isRegularFile(path))
        return path;
    if (projectDir.isEmpty() || path.contains(QChar(0)))
        return {};
    // Either separator ends a folder name, so that a path written on another
    // system also finds its file.
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString name = path.mid(cut + 1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    const QString beside = QDir(projectDir).filePath(name);
    return isRegularFile(beside) ? beside : QString();
}

enum class ItemLoad { Kept, Missing, Damaged, OverBudget };

// Gives the item its decoded picture, re-applies its effects and cut shape
// and computes its regions. Touches nothing but `record`.
ItemLoad loadItem(ItemRecord& record, const QImage& picture)
{
    Card& card = *record.card;
    if (!card.LoadImage(picture))
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
    card.UpdateRegion();
    return ItemLoad::Kept;
}

// An item that is not loaded: its stored fields stay for the message and
// the view's queries, its pixels and regions go, and its record is kept
// to be written back unchanged.
void unload(ItemRecord& record)
{
    Card& card = *record.card;
    card.m_pBitmap.reset();
    card.m_pClip.reset();
    card.m_pKeep.reset();
    card.m_pClipSaved.reset();
    card.m_rgnItem = QRegion();
    card.m_rgnKept = QRegion();
    card.m_storedRecord = record.stored;
}

bool hasPixelEffect(const Card& card) { return card.m_bGray || card.m_bSemi || card.m_bErased; }

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
        if (!readItem(in, bytes, record))
            return damaged();
        c.items.push_back(std::move(record));
    }
    return {std::move(c), {}};
}

LoadedProject LoadPictures(ProjectContents contents, const QString& projectDir, qint64 budget)
{
    LoadedProject loaded;
    const std::size_t count = contents.items.size();
    std::vector<ItemLoad> results(count, ItemLoad::Kept);

    // Where each picture is, and what decoding it costs. Each file is
    // decoded once and counted once; an item whose effects change its own
    // pixels costs one picture more. The background comes first, then the
    // items from the top of the stack, each while the budget lasts.
    struct Picture {
        QSize size;
        bool admitted = false;
        QImage image;
    };
    std::map<QString, Picture> pictures;
    qint64 used = 0;
    const auto admit = [&](const QString& path, bool ownCopy) -> std::optional<ItemLoad> {
        auto [it, fresh] = pictures.try_emplace(path);
        Picture& picture = it->second;
        if (fresh) {
            const std::optional<QSize> size = mc::imaging::imageSize(path);
            picture.size = size.value_or(QSize());
        }
        if (picture.size.isEmpty())
            return ItemLoad::Missing;
        const qint64 cost = (picture.admitted ? 0 : PictureBytes(picture.size)) + (ownCopy ? PictureBytes(picture.size) : 0);
        if (used + cost > budget)
            return ItemLoad::OverBudget;
        used += cost;
        picture.admitted = true;
        return std::nullopt;
    };

    QString bkPicture = locatePicture(contents.bkPath, projectDir);
    if (!bkPicture.isEmpty() && admit(bkPicture, false) == ItemLoad::OverBudget)
        loaded.overBudget.append(bkPicture);
    for (std::size_t i = 0; i < count; ++i) {
        ItemRecord& record = contents.items[i];
        if (record.damaged) {
            results[i] = ItemLoad::Damaged;
            continue;
        }
        Card& card = *record.card;
        const QString found = locatePicture(card.m_strPath, projectDir);
        if (found.isEmpty()) {
            results[i] = ItemLoad::Missing;
            continue;
        }
        if (std::optional<ItemLoad> refused = admit(found, hasPixelEffect(card))) {
            results[i] = *refused;
            continue;
        }
        if (found != card.m_strPath) {
            card.m_strPath = found;
            loaded.relocated = true;
        }
    }

    // Decoding dominates opening a project: the files, and then the items'
    // effects and regions, are shared among the processor's cores. Each
    // result lands in its own slot, so the items keep their order.
    std::vector<std::pair<const QString*, Picture*>> toDecode;
    for (auto& [path, picture] : pictures)
        if (picture.admitted)
            toDecode.emplace_back(&path, &picture);
    std::atomic<std::size_t> next{0};
    runOnCores(
        [&] {
            for (std::size_t i = next++; i < toDecode.size(); i = next++)
                toDecode[i].second->image = mc::imaging::decodeImage(*toDecode[i].first);
        },
        toDecode.size());
    next = 0;
    runOnCores(
        [&] {
            for (std::size_t i = next++; i < count; i = next++) {
                if (results[i] != ItemLoad::Kept)
                    continue;
                const auto it = pictures.find(contents.items[i].card->m_strPath);
                results[i] = loadItem(contents.items[i], it->second.image);
            }
        },
        count);

    if (!bkPicture.isEmpty()) {
        const auto it = pictures.find(bkPicture);
        if (it != pictures.end() && !it->second.image.isNull()) {
            loaded.bkImage = std::make_unique<QImage>(it->second.image);
            loaded.relocated = loaded.relocated || bkPicture != contents.bkPath;
            contents.bkPath = bkPicture;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (results[i] == ItemLoad::Kept)
            continue;
        ItemRecord& record = contents.items[i];
        unload(record);
        QStringList& list = results[i] == ItemLoad::Damaged ? loaded.damaged
            : results[i] == ItemLoad::OverBudget            ? loaded.overBudget
                                                            : loaded.missing;
        list.append(record.card->m_strPath);
    }
    // Each file is named once, however many items use it.
    for (QStringList* list : {&loaded.missing, &loaded.damaged, &loaded.overBudget})
        list->removeDuplicates();
    loaded.contents = std::move(contents);
    return loaded;
}

QString LoadNotice(const LoadedProject& project)
{
    if (project.missing.isEmpty() && project.damaged.isEmpty() && project.overBudget.isEmpty())
        return {};
    // Long lists are cut short: the message must fit on the screen.
    constexpr qsizetype kShown = 20;
    QString text = QStringLiteral("Some pictures of this project are not shown. Their items keep their place "
                                  "and are saved unchanged with the project.");
    const auto section = [&](const QString& title, const QStringList& paths) {
        if (paths.isEmpty())
            return;
        text += QStringLiteral("\n\n") + title;
        for (qsizetype i = 0; i < std::min(paths.size(), kShown); ++i)
            text += QStringLiteral("\n    ") + paths[i];
        if (paths.size() > kShown)
            text += QStringLiteral("\n    ... and %1 more").arg(paths.size() - kShown);
    };
    section(QStringLiteral("Not found or not readable:"), project.missing);
    section(QStringLiteral("Damaged in the project file:"), project.damaged);
    section(QStringLiteral("Not loaded, beyond the memory set aside for pictures:"), project.overBudget);
    return text;
}

ReadResult ReadProjectFile(const QString& path, QSize screen)
{
    // Pipes, devices and folders are refused before anything is read.
    QFile file;
    QString notOpened;
    if (!mc::platform::OpenRegularFile(file, path, &notOpened))
        return {std::nullopt, notOpened};
    if (file.size() > kMaxProjectFileSize)
        return {std::nullopt, FileTooLargeMessage()};
    // Read a piece at a time: asking for the whole limit at once has Qt size
    // its buffer to the limit first, hundreds of MiB for every open.
    QByteArray bytes;
    constexpr qint64 kPiece = qint64(1) << 20;
    while (bytes.size() <= kMaxProjectFileSize) {
        const QByteArray piece = file.read(std::min(kPiece, kMaxProjectFileSize + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes.append(piece);
    }
    if (bytes.size() > kMaxProjectFileSize)
        return {std::nullopt, FileTooLargeMessage()};
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString())};

    ParseResult parsed = ParseProject(bytes, screen);
    if (!parsed.contents)
        return {std::nullopt, parsed.message};
    return {LoadPictures(std::move(*parsed.contents), QFileInfo(path).absolutePath()), {}};
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
    const QString notice = LoadNotice(*result.project);
    const bool relocated = result.project->relocated;
    ApplyProject(doc, std::move(*result.project));
    doc.SetPathName(QFileInfo(path).absoluteFilePath());
    doc.SetModifiedFlag(relocated);
    // Pictures found elsewhere changed the project: no state matches the file.
    doc.ResetHistory();
    if (message)
        *message = notice;
    doc.UpdateAllViews();
    return true;
}

} // namespace mc::document
