#include "tools/digit_census/digit_render.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

// Fontconfig keeps its caches to the end of the process; the leak checker is told so. Weak, so
// that a program linking another library with the same note keeps one.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace digitrender {
namespace {

struct CensusFont {
    const char* file;
    const char* package;
};

constexpr CensusFont CensusFonts[] = {
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "fonts-dejavu-core"},
    {"/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf", "fonts-liberation2"},
    {"/usr/share/fonts/truetype/freefont/FreeSansBold.ttf", "fonts-freefont-ttf"},
};

constexpr int CensusFontCount = static_cast<int>(sizeof CensusFonts / sizeof CensusFonts[0]);
constexpr int RenderPointSize = 200;  // the outline is scaled from this size to the ink height

// Fonts need a GUI application; the tools and tests that render have none of their own. It
// lives to the end of the process: destroyed among the static objects it would outlive Qt's.
void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "digit_census";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

QString LoadedFamily(int font) {
    static QString families[CensusFontCount];
    if (font < 0 || font >= CensusFontCount) throw std::runtime_error("no census font " + std::to_string(font));
    if (!families[font].isEmpty()) return families[font];
    EnsureApplication();
    const CensusFont& f = CensusFonts[font];
    const int id = QFile::exists(f.file) ? QFontDatabase::addApplicationFont(f.file) : -1;
    const QStringList names = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (names.isEmpty()) {
        throw std::runtime_error(std::string("font file ") + f.file + " is missing: install " + f.package);
    }
    families[font] = names.front();
    return families[font];
}

// One pass of a normalized Gaussian along rows (step 1) or columns (step width).
void BlurPass(std::vector<double>& plane, int width, int height, double sigma, bool alongRows) {
    const int radius = static_cast<int>(std::ceil(3 * sigma));
    std::vector<double> kernel(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0;
    for (int k = -radius; k <= radius; ++k) sum += kernel[static_cast<std::size_t>(k + radius)] = std::exp(-k * k / (2 * sigma * sigma));
    for (double& w : kernel) w /= sum;
    const std::vector<double> source = plane;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double value = 0;
            for (int k = -radius; k <= radius; ++k) {
                const int sx = alongRows ? std::clamp(x + k, 0, width - 1) : x;
                const int sy = alongRows ? y : std::clamp(y + k, 0, height - 1);
                value += kernel[static_cast<std::size_t>(k + radius)] * source[static_cast<std::size_t>(sy) * width + sx];
            }
            plane[static_cast<std::size_t>(y) * width + x] = value;
        }
    }
}

}  // namespace

int FontCount() { return CensusFontCount; }

std::string FontName(int font) { return LoadedFamily(font).toStdString(); }

GrayPatch RenderCharacter(char character, const DigitStyle& style) {
    QFont font(LoadedFamily(style.font));
    font.setBold(true);
    font.setPixelSize(RenderPointSize);
    QPainterPath outline;
    outline.addText(0, 0, font, QString(QChar(character)));
    const QRectF ink = outline.boundingRect();
    const double scale = style.height / ink.height();
    const int margin = std::max(4, style.height / 4);
    GrayPatch patch;
    patch.width = static_cast<int>(std::ceil(ink.width() * scale)) + 2 * margin;
    patch.height = style.height + 2 * margin;

    QImage image(patch.width, patch.height, QImage::Format_Grayscale8);
    image.fill(QColor(PaperLevel, PaperLevel, PaperLevel));
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(margin, margin);
        painter.scale(scale, scale);
        painter.translate(-ink.left(), -ink.top());
        painter.fillPath(outline, QColor(InkLevel, InkLevel, InkLevel));
    }

    std::vector<double> plane(static_cast<std::size_t>(patch.width) * patch.height);
    for (int y = 0; y < patch.height; ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < patch.width; ++x) plane[static_cast<std::size_t>(y) * patch.width + x] = row[x];
    }
    if (style.blur > 0) {
        BlurPass(plane, patch.width, patch.height, style.blur, true);
        BlurPass(plane, patch.width, patch.height, style.blur, false);
    }
    std::mt19937 random(style.seed);
    std::normal_distribution<double> noise(0.0, style.noise > 0 ? style.noise : 1.0);
    patch.pixels.resize(plane.size());
    for (std::size_t i = 0; i < plane.size(); ++i) {
        const double value = plane[i] + (style.noise > 0 ? noise(random) : 0.0);
        patch.pixels[i] = static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
    }
    return patch;
}

}  // namespace digitrender
