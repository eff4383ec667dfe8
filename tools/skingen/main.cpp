// skingen: draws the program's skin and writes the resource collection that compiles it in.
//
//   skingen --out DIR --latin FONT.ttf --cjk FONT.ttf --qm FCApp.qm --qrc FILE.qrc
//       writes DIR/GUI/<name>.png and <name>@2x.png (and DIR/GUI/zh/... for the images that
//       carry words) and FILE.qrc listing them, the two fonts and the translation.
//   skingen --out DIR --latin FONT.ttf --cjk FONT.ttf --sheet SHEET.png
//       lays every image written to DIR (both languages, a few "@2x") onto one labelled sheet.
//   skingen --out DIR --latin FONT.ttf --cjk FONT.ttf --icons ICONDIR --icon-name NAME
//       draws the application icon as ICONDIR/<n>x<n>/apps/NAME.png (48, 128 and 256 px).
//
// Runs without a display: it selects the offscreen platform itself.

#include "appicon.h"
#include "catalogue.h"
#include "drawings.h"
#include "pngwrite.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QFontMetrics>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

using namespace Skin;

namespace {

QImage render(const Entry &e, Lang lang, int scale)
{
    QImage img(e.size * scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
    e.draw(p, QSizeF(e.size), lang);
    p.end();
    return img;
}

QString fileName(const QString &name, int scale)
{
    if (scale == 1)
        return name;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return name.left(dot) + QStringLiteral("@%1x").arg(scale) + name.mid(dot);
}

QString xmlEscape(const QString &s)
{
    return s.toHtmlEscaped();
}

bool writeImages(const QVector<Entry> &list, const QString &outDir)
{
    QDir().mkpath(outDir + QStringLiteral("/GUI/zh"));
    for (const Entry &e : list) {
        for (int scale : {1, 2}) {
            const QString neutral = outDir + QStringLiteral("/GUI/") + fileName(e.name, scale);
            if (!writePng(render(e, Lang::En, scale), neutral)) {
                std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(neutral));
                return false;
            }
            if (e.localised) {
                const QString zh = outDir + QStringLiteral("/GUI/zh/") + fileName(e.name, scale);
                if (!writePng(render(e, Lang::Zh, scale), zh)) {
                    std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(zh));
                    return false;
                }
            }
        }
    }
    return true;
}

bool writeQrc(const QVector<Entry> &list, const QString &qrcPath, const QString &outDir,
              const QString &latin, const QString &cjk, const QString &qm)
{
    const QDir base = QFileInfo(qrcPath).absoluteDir();
    const auto rel = [&](const QString &path) { return xmlEscape(base.relativeFilePath(path)); };
    QString out;
    QTextStream ts(&out);
    ts << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n";
    // Neutral images; the Chinese block below shadows the localised ones when the default
    // locale is Chinese.
    ts << "  <qresource prefix=\"/GUI\">\n";
    for (const Entry &e : list)
        for (int scale : {1, 2}) {
            const QString f = fileName(e.name, scale);
            ts << "    <file alias=\"" << xmlEscape(f) << "\">"
               << rel(outDir + QStringLiteral("/GUI/") + f) << "</file>\n";
        }
    ts << "  </qresource>\n";
    ts << "  <qresource prefix=\"/GUI\" lang=\"zh\">\n";
    for (const Entry &e : list) {
        if (!e.localised)
            continue;
        for (int scale : {1, 2}) {
            const QString f = fileName(e.name, scale);
            ts << "    <file alias=\"" << xmlEscape(f) << "\">"
               << rel(outDir + QStringLiteral("/GUI/zh/") + f) << "</file>\n";
        }
    }
    ts << "  </qresource>\n";
    ts << "  <qresource prefix=\"/font\">\n";
    ts << "    <file alias=\"ARLRDBD.TTF\">" << xmlEscape(QFileInfo(latin).absoluteFilePath())
       << "</file>\n";
    ts << "    <file alias=\"SIMYOU.TTF\">" << xmlEscape(QFileInfo(cjk).absoluteFilePath())
       << "</file>\n";
    ts << "  </qresource>\n";
    ts << "  <qresource prefix=\"/tr\">\n";
    ts << "    <file alias=\"FCApp.qm\">" << xmlEscape(QFileInfo(qm).absoluteFilePath())
       << "</file>\n";
    ts << "  </qresource>\n</RCC>\n";
    ts.flush();

    QSaveFile f(qrcPath);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(out.toUtf8());
    return f.commit();
}

// Loads a picture at its pixel size: the reader would otherwise treat an "@2x" file as half
// as large.
QImage pixels(const QString &path)
{
    QImage img(path);
    img.setDevicePixelRatio(1.0);
    return img;
}

// One labelled tile of the contact sheet.
struct Tile {
    QImage image;
    QString label;
    bool zh = false;
};

bool writeSheet(const QVector<Entry> &list, const QString &outDir, const QString &sheetPath)
{
    QVector<Tile> tiles;
    const QStringList hiDpi = {"PAGE1-3.png", "save1.png", "X-A3-R6-1.png", "led-green.png",
                               "motortest-1.png", "page4-stack-gain-3.png"};
    for (const Entry &e : list) {
        const QString neutral = outDir + QStringLiteral("/GUI/") + e.name;
        tiles.push_back({pixels(neutral),
                         QStringLiteral("%1  %2x%3").arg(e.name).arg(e.size.width()).arg(e.size.height()),
                         false});
        if (e.localised)
            tiles.push_back({pixels(outDir + QStringLiteral("/GUI/zh/") + e.name),
                             QStringLiteral("zh: %1").arg(e.name), true});
    }
    for (const QString &n : hiDpi) {
        const QString f = fileName(n, 2);
        tiles.push_back({pixels(outDir + QStringLiteral("/GUI/") + f), f, false});
        for (const Entry &e : list)
            if (e.name == n && e.localised)
                tiles.push_back({pixels(outDir + QStringLiteral("/GUI/zh/") + f),
                                 QStringLiteral("zh: ") + f, true});
    }

    const int width = 1900, pad = 14, labelH = 18;
    const QFont labelFont = font(Lang::En, 10, false);
    const QFontMetrics labelMetrics(labelFont);
    const auto tileWidth = [&](const Tile &t) {
        return qMax(t.image.width(), labelMetrics.horizontalAdvance(t.label) + 4);
    };
    // Flow layout: first pass computes the height.
    QVector<QPoint> pos;
    int x = pad, y = pad, rowH = 0;
    for (const Tile &t : tiles) {
        const int w = tileWidth(t);
        const int h = t.image.height() + labelH;
        if (x + w + pad > width) {
            x = pad;
            y += rowH + pad;
            rowH = 0;
        }
        pos.push_back(QPoint(x, y));
        x += w + pad;
        rowH = qMax(rowH, h);
    }
    const int height = y + rowH + pad;
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(206, 210, 215));
    QPainter p(&sheet);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    for (int i = 0; i < tiles.size(); ++i) {
        const Tile &t = tiles[i];
        const QPoint at = pos[i];
        if (t.image.isNull()) {
            p.fillRect(QRect(at, QSize(120, 40)), Qt::red);
        } else {
            // A checkerboard behind each image shows its transparent parts.
            for (int cy = 0; cy < t.image.height(); cy += 8)
                for (int cx = 0; cx < t.image.width(); cx += 8)
                    p.fillRect(QRect(at.x() + cx, at.y() + cy, qMin(8, t.image.width() - cx),
                                     qMin(8, t.image.height() - cy)),
                               ((cx + cy) / 8) % 2 ? QColor(226, 229, 233) : QColor(236, 239, 242));
            p.drawImage(at, t.image);
        }
        p.setFont(labelFont);
        p.setPen(t.zh ? Colour::accentDark : QColor(60, 60, 60));
        p.drawText(QRect(at.x(), at.y() + t.image.height() + 2, tileWidth(t), labelH),
                   Qt::AlignLeft | Qt::AlignVCenter, t.label);
    }
    p.end();
    return sheet.save(sheetPath, "PNG");
}

} // namespace

int main(int argc, char **argv)
{
    // The generator runs on build machines without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addOption({"out", "output directory", "dir"});
    cli.addOption({"latin", "Latin font file", "file"});
    cli.addOption({"cjk", "CJK font file", "file"});
    cli.addOption({"qm", "compiled translation", "file"});
    cli.addOption({"qrc", "resource collection to write", "file"});
    cli.addOption({"sheet", "contact sheet to write", "file"});
    cli.addOption({"icons", "icon theme directory to draw the application icon into", "dir"});
    cli.addOption({"icon-name", "file name of the application icon, without .png", "name"});
    cli.process(app);

    const QString outDir = QFileInfo(cli.value("out")).absoluteFilePath();
    if (cli.value("out").isEmpty() || !loadFonts(cli.value("latin"), cli.value("cjk"))) {
        std::fprintf(stderr, "skingen: need --out and two loadable fonts (--latin, --cjk)\n");
        return 2;
    }
    const QVector<Entry> list = catalogue();

    if (cli.isSet("icons"))
        return writeAppIcons(cli.value("icons"), cli.value("icon-name")) ? 0 : 1;
    if (cli.isSet("sheet"))
        return writeSheet(list, outDir, cli.value("sheet")) ? 0 : 1;

    if (!cli.isSet("qrc") || !cli.isSet("qm")) {
        std::fprintf(stderr, "skingen: need --qrc and --qm\n");
        return 2;
    }
    if (!writeImages(list, outDir))
        return 1;
    if (!writeQrc(list, cli.value("qrc"), outDir, cli.value("latin"), cli.value("cjk"),
                  cli.value("qm")))
        return 1;
    int localised = 0;
    for (const Entry &e : list)
        localised += e.localised ? 1 : 0;
    std::printf("skingen: %d images (%d with a Chinese variant), each also at @2x\n",
                int(list.size()), localised);
    return 0;
}
