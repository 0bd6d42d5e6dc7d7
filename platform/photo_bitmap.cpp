#include "platform/photo_bitmap.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <QPainter>

#include "platform/files.h"

namespace win {

PhotoBitmap::PhotoBitmap(const char* path) {
    // Opened here rather than by the decoder, which would wait on a FIFO at the name.
    const int fd = OpenRegularFile(MapPath(path), O_RDONLY);
    if (fd < 0) return;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return;
    }
    const QImage decoded = QImageReader(&file).read();
    if (!decoded.isNull()) image_ = decoded.convertToFormat(QImage::Format_BGR888);
}

int PhotoBitmap::GetWidth() const { return image_.width(); }

int PhotoBitmap::GetHeight() const { return image_.height(); }

bool PhotoBitmap::LockBits(BitmapData* data) const {
    if (image_.isNull()) return false;
    data->Width = image_.width();
    data->Height = image_.height();
    data->Stride = static_cast<int>(image_.bytesPerLine());
    data->Scan0 = image_.constBits();
    return true;
}

void PhotoBitmap::DrawScaled(QPainter& painter, int x, int y, int width, int height) const {
    if (image_.isNull() || width <= 0 || height <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(x, y, width, height), image_);
    painter.restore();
}

}  // namespace win
