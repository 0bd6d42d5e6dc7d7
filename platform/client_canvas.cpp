#include "platform/client_canvas.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <QStringList>

namespace win {
namespace {

constexpr int TenthsPerPoint = 10;
// Where a program's bold Chinese face is missing, the nearest installed one: the same scripts
// and half-width Latin letters and digits, so a line of code takes the room it is given.
constexpr const char* FallbackFaces[] = {"SimHei", "WenQuanYi Zen Hei Mono", "DejaVu Sans"};

QString InstalledFace(const char* face) {
    QStringList faces{QString::fromUtf8(face)};
    for (const char* fallback : FallbackFaces) faces << QString::fromUtf8(fallback);
    for (const QString& candidate : faces) {
        if (QFontDatabase::hasFamily(candidate)) return candidate;
    }
    return faces.front();
}

QColor ColorOf(COLORREF color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace

ClientCanvas::ClientCanvas(int width, int height)
    : image_(width, height, QImage::Format_ARGB32_Premultiplied) {
    image_.fill(Qt::transparent);
}

void ClientCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (right - left < 1 || bottom - top < 1) return;
    QPainter painter(&image_);
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), Qt::black);
    if (right - left > 2 && bottom - top > 2) {
        painter.fillRect(QRect(QPoint(left + 1, top + 1), QPoint(right - 2, bottom - 2)), Qt::white);
    }
}

void ClientCanvas::DrawPhoto(const PhotoBitmap& photo, int x, int y, int width, int height) {
    QPainter painter(&image_);
    photo.DrawScaled(painter, x, y, width, height);
}

void ClientCanvas::PaintOnto(QPainter& painter) const { painter.drawImage(QPoint(0, 0), image_); }

void SelectPointFont(QPainter& painter, int tenthsOfPoint, const char* face, COLORREF color) {
    QFont font(InstalledFace(face));
    font.setPointSizeF(static_cast<double>(tenthsOfPoint) / TenthsPerPoint);
    painter.setFont(font);
    painter.setPen(ColorOf(color));
}

void TextOutA(QPainter& painter, int x, int y, const char* text) {
    const QFontMetrics metrics(painter.font(), painter.device());
    painter.drawText(QPoint(x, y + metrics.ascent()), QString::fromUtf8(text));
}

}  // namespace win
