#include "dialogs/DelImgModel.h"

#include "dialogs/EditNumbers.h"

#include <algorithm>

QRect DelImgModel::ThumbnailRect(QSize imageSize)
{
    const int h = std::max(imageSize.height(), 1);
    const int width = mc::dialogs::TruncToInt(double(imageSize.width()) / h * kHeight);
    return QRect(kLeft, kTop, std::min(kMaxWidth, width), kHeight);
}
