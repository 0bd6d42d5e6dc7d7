#include "tools/testimage/glyphs.h"

#include "tools/testimage/test_image.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

namespace testimage {
namespace {

struct FontFile {
    const char* path;
    const char* package;
};

// Bold sans faces of different widths and shapes, as container markings are painted.
constexpr FontFile CodeFontFiles[] = {
    {"/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf", "fonts-liberation2"},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "fonts-dejavu-core"},
    {"/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf", "fonts-dejavu-extra"},
    {"/usr/share/fonts/truetype/freefont/FreeSansBold.ttf", "fonts-freefont-ttf"},
};
constexpr FontFile LogoFontFiles[] = {
    {"/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf", "fonts-dejavu-core"},
    {"/usr/share/fonts/truetype/liberation2/LiberationSerif-Bold.ttf", "fonts-liberation2"},
};

// Outlines are taken unhinted at a large size and scaled, so every height has the same shapes.
constexpr double ReferencePixelSize = 200;
constexpr int CellPadding = 2;
constexpr float Unreached = 1e20f;
constexpr char CodeCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr char LogoCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// A font's outlines, copied out while Qt's font machinery was up: plain data from then on.
struct LoadedFont {
    std::string name;
    double capHeight = 0;  // reference pixels
    double stem = 0;
    std::map<char, QPainterPath> outlines;
};

struct FontRegistry {
    std::vector<LoadedFont> code;
    std::vector<LoadedFont> logo;
};

QPainterPath GlyphPath(const QRawFont& raw, char ch) {
    const QList<quint32> indexes = raw.glyphIndexesForString(QString(QChar(ch)));
    if (indexes.isEmpty()) return {};
    return raw.pathForGlyph(indexes.front());
}

bool LoadFont(const FontFile& file, const char* characters, LoadedFont& font) {
    if (!QFile::exists(file.path)) return false;
    // Registered by path, so the face is this file whatever the system's font configuration.
    const int id = QFontDatabase::addApplicationFont(file.path);
    if (id < 0) return false;
    const QRawFont raw(QString(file.path), ReferencePixelSize, QFont::PreferNoHinting);
    if (!raw.isValid()) return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    const QString family = families.isEmpty() ? raw.familyName() : families.front();
    font.name = (family + " " + raw.styleName()).toStdString();
    for (const char* c = characters; *c; ++c) font.outlines[*c] = GlyphPath(raw, *c);
    font.capHeight = font.outlines['H'].boundingRect().height();
    font.stem = font.outlines['I'].boundingRect().width();
    return font.capHeight > 0 && font.stem > 0;
}

// Fonts need a GUI application; one made here lives only while the outlines are copied, so
// that Qt and its font configuration are shut down cleanly and nothing outlives them.
FontRegistry LoadFonts() {
    std::unique_ptr<QGuiApplication> application;
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "testimage";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    FontRegistry registry;
    for (const FontFile& file : CodeFontFiles) {
        LoadedFont font;
        if (LoadFont(file, CodeCharacters, font)) registry.code.push_back(font);
    }
    for (const FontFile& file : LogoFontFiles) {
        LoadedFont font;
        if (LoadFont(file, LogoCharacters, font)) registry.logo.push_back(font);
    }
    return registry;
}

const FontRegistry& Fonts() {
    static const FontRegistry registry = LoadFonts();
    return registry;
}

const LoadedFont& FontOf(const GlyphStyle& style) {
    RequireCodeFonts();
    const FontRegistry& fonts = Fonts();
    if (style.logo && !fonts.logo.empty()) {
        return fonts.logo[static_cast<std::size_t>(style.font) % fonts.logo.size()];
    }
    return fonts.code[static_cast<std::size_t>(style.font) % fonts.code.size()];
}

// One-dimensional squared distance transform: the lower envelope of the parabolas rooted at
// each cell (Felzenszwalb and Huttenlocher).
float ParabolaCrossing(const float* f, int q, int p) {
    const double fq = static_cast<double>(f[q]) + static_cast<double>(q) * q;
    const double fp = static_cast<double>(f[p]) + static_cast<double>(p) * p;
    return static_cast<float>((fq - fp) / (2.0 * (q - p)));
}

void DistanceTransform1D(const float* f, int n, float* d, int* v, float* z) {
    int k = 0;
    v[0] = 0;
    z[0] = -Unreached;
    z[1] = Unreached;
    for (int q = 1; q < n; ++q) {
        float s = ParabolaCrossing(f, q, v[k]);
        while (k > 0 && s <= z[k]) {
            --k;
            s = ParabolaCrossing(f, q, v[k]);
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = Unreached;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < static_cast<float>(q)) ++k;
        const float delta = static_cast<float>(q - v[k]);
        d[q] = delta * delta + f[v[k]];
    }
}

// Squared distance from each cell to the nearest cell whose value is `target`.
std::vector<float> SquaredDistanceTo(const std::vector<std::uint8_t>& cells, int width, int height,
                                     std::uint8_t target) {
    std::vector<float> grid(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) grid[i] = cells[i] == target ? 0.0f : Unreached;
    const int longest = std::max(width, height);
    std::vector<float> f(static_cast<std::size_t>(longest)), d(f.size()), z(f.size() + 1);
    std::vector<int> v(f.size());
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) f[y] = grid[static_cast<std::size_t>(y) * width + x];
        DistanceTransform1D(f.data(), height, d.data(), v.data(), z.data());
        for (int y = 0; y < height; ++y) grid[static_cast<std::size_t>(y) * width + x] = d[y];
    }
    for (int y = 0; y < height; ++y) {
        float* row = grid.data() + static_cast<std::size_t>(y) * width;
        std::copy(row, row + width, f.begin());
        DistanceTransform1D(f.data(), width, d.data(), v.data(), z.data());
        std::copy(d.begin(), d.begin() + width, row);
    }
    return grid;
}

}  // namespace

void RequireCodeFonts() {
    if (Fonts().code.empty()) {
        throw std::runtime_error(
            "no bold sans font found: install fonts-liberation2, fonts-dejavu-core, "
            "fonts-dejavu-extra or fonts-freefont-ttf");
    }
}

int CodeFontCount() { return static_cast<int>(Fonts().code.size()); }

std::vector<std::string> CodeFontNames() {
    std::vector<std::string> names;
    for (const LoadedFont& font : Fonts().code) names.push_back(font.name);
    return names;
}

std::string CodeFontName(int font) {
    GlyphStyle style;
    style.font = font;
    return FontOf(style).name;
}

double NaturalStem(const GlyphStyle& style) {
    const LoadedFont& font = FontOf(style);
    return font.stem * style.capHeight / font.capHeight * style.aspect;
}

void AdjustInk(std::vector<std::uint8_t>& cells, int width, int height, double radius) {
    if (std::fabs(radius) < 0.25) return;
    const float limit = static_cast<float>(radius * radius);
    if (radius > 0) {
        const std::vector<float> toInk = SquaredDistanceTo(cells, width, height, 1);
        for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = toInk[i] <= limit ? 1 : 0;
    } else {
        const std::vector<float> toWall = SquaredDistanceTo(cells, width, height, 0);
        for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = cells[i] && toWall[i] > limit ? 1 : 0;
    }
}

GlyphMask MakeGlyph(const GlyphStyle& style, char ch) {
    const LoadedFont& font = FontOf(style);
    const auto outline = font.outlines.find(ch);
    GlyphMask mask;
    if (outline == font.outlines.end()) return mask;
    const QPainterPath& path = outline->second;
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty()) return mask;

    // Growing or thinning the ink by g moves the stems and the cap line alike: outline at cap
    // height C with stem r C, so that C + 2g is the height and r C + 2g the stroke asked for.
    const double stemRatio = font.stem / font.capHeight * style.aspect;
    const double outlineHeight = style.stroke > 0 ? (style.capHeight - style.stroke) / (1 - stemRatio) : style.capHeight;
    const double grow = (style.capHeight - outlineHeight) / 2 * Supersample;
    const double scaleY = outlineHeight * Supersample / font.capHeight;
    const double scaleX = scaleY * style.aspect;
    const int pad = static_cast<int>(std::ceil(std::fabs(grow))) + CellPadding;
    const int width = static_cast<int>(std::ceil(bounds.width() * scaleX)) + 2 * pad;
    const int height = static_cast<int>(std::ceil(bounds.height() * scaleY)) + 2 * pad;
    const double baselineRow = pad - bounds.top() * scaleY;

    QImage raster(width, height, QImage::Format_Grayscale8);
    raster.fill(0);
    {
        QPainter painter(&raster);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(pad - bounds.left() * scaleX, baselineRow);
        painter.scale(scaleX, scaleY);
        painter.fillPath(path, Qt::white);
    }
    std::vector<std::uint8_t> cells(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const uchar* line = raster.constScanLine(y);
        for (int x = 0; x < width; ++x) cells[static_cast<std::size_t>(y) * width + x] = line[x] >= 128 ? 1 : 0;
    }
    AdjustInk(cells, width, height, grow);

    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!cells[static_cast<std::size_t>(y) * width + x]) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return mask;
    mask.width = right - left + 1;
    mask.height = bottom - top + 1;
    mask.cells.resize(static_cast<std::size_t>(mask.width) * mask.height);
    for (int y = 0; y < mask.height; ++y) {
        const std::uint8_t* source = cells.data() + static_cast<std::size_t>(y + top) * width + left;
        std::copy(source, source + mask.width, mask.cells.begin() + static_cast<std::ptrdiff_t>(y) * mask.width);
    }
    mask.top = (top - baselineRow) / Supersample;
    return mask;
}

const GlyphMask& GlyphCache::Get(char ch) {
    auto found = masks_.find(ch);
    if (found == masks_.end()) found = masks_.emplace(ch, MakeGlyph(style_, ch)).first;
    return found->second;
}

}  // namespace testimage
