// Feeds arbitrary bytes to the project reader: parsing, the cut shapes'
// byte form, and (for items whose path happens to name a picture) loading
// and region computation. Nothing may crash, hang or allocate without bound.
#include "document/ProjectReader.h"

#include <QByteArray>
#include <QSize>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    mc::document::ParseResult parsed = mc::document::ParseProject(bytes, QSize(1024, 768));
    if (!parsed.contents)
        return 0;
    // Every parsed item's shape must also rasterise (the view does this for
    // the item's canvas area).
    for (const mc::document::ItemRecord& record : parsed.contents->items) {
        if (record.cutShape)
            (void)record.cutShape->toPixelRegion(QRect(-4096, -4096, 8192, 8192));
    }
    (void)mc::document::LoadPictures(std::move(*parsed.contents));
    return 0;
}
