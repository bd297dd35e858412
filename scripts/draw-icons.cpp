// Draws the program's embedded pictures into src/icons and, given a second
// directory, the installed application icon into it.
//   g++ -fPIC -std=c++17 scripts/draw-icons.cpp $(pkg-config --cflags --libs Qt5Gui) -o /tmp/draw-icons
//   QT_QPA_PLATFORM=offscreen /tmp/draw-icons src/icons packaging
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>

namespace {

const QColor white(255, 255, 255);

bool save(const QDir& dir, const QString& name, const QSize& size,
          const std::function<void(QPainter&)>& draw)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    const bool ok = image.save(dir.filePath(name), "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(dir.filePath(name)));
    return ok;
}

// A shaded dot with a two-pronged plug; the plug halves meet when online.
void statusDot(QPainter& p, const QColor& colour, qreal gap)
{
    QRadialGradient shade(QPointF(12, 11), 18);
    shade.setColorAt(0, colour.lighter(150));
    shade.setColorAt(1, colour.darker(120));
    p.setPen(QPen(colour.darker(160), 1.5));
    p.setBrush(shade);
    p.drawEllipse(QRectF(1.5, 1.5, 29, 29));

    p.setPen(Qt::NoPen);
    p.setBrush(white);
    // left half: body and two prongs
    p.drawRoundedRect(QRectF(7, 12, 6 - gap / 2, 8), 1.5, 1.5);
    p.drawRect(QRectF(13 - gap / 2, 13.5, 3, 1.6));
    p.drawRect(QRectF(13 - gap / 2, 16.9, 3, 1.6));
    // right half: socket body
    p.drawRoundedRect(QRectF(16 + gap / 2, 12, 9 - gap / 2, 8), 1.5, 1.5);
    p.setPen(QPen(white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 16), QPointF(7, 16));
    p.drawLine(QPointF(25, 16), QPointF(28, 16));
}

void flatCircle(QPainter& p, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(2, 2, 44, 44));
}

QPen glyphPen(qreal width)
{
    return QPen(white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Radio waves leaving a dot: the device the program provisions.
void emblem(QPainter& p)
{
    const QColor accent(0, 150, 136);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(QPointF(14, 34), 4, 4);
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        p.setPen(QPen(accent, 3, Qt::SolidLine, Qt::RoundCap));
        const qreal r = 7.0 * i + 2;
        p.drawArc(QRectF(14 - r, 34 - r, 2 * r, 2 * r), 10 * 16, 70 * 16);
    }
}

void logo(QPainter& p, const QString& word)
{
    const QColor ink(32, 64, 112);
    emblem(p);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(34);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRectF(46, 0, 152, 50), Qt::AlignVCenter | Qt::AlignLeft, word);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <icons directory> [<application icon directory>]\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    bool ok = true;

    const QSize dot(32, 32);
    ok &= save(dir, "Zarvo_server_staus_offline.png", dot,
               [](QPainter& p) { statusDot(p, QColor(140, 140, 140), 6); });
    ok &= save(dir, "Zarvo_server_staus_disconnected.png", dot,
               [](QPainter& p) { statusDot(p, QColor(214, 48, 49), 6); });
    ok &= save(dir, "Zarvo_server_staus_online.png", dot,
               [](QPainter& p) { statusDot(p, QColor(39, 174, 96), 0); });

    const QSize flat(48, 48);
    ok &= save(dir, "flatWarningIco.png", flat, [](QPainter& p) {
        QPainterPath triangle;
        triangle.moveTo(24, 4);
        triangle.lineTo(45, 42);
        triangle.lineTo(3, 42);
        triangle.closeSubpath();
        p.setPen(QPen(QColor(243, 156, 18), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(243, 156, 18));
        p.drawPath(triangle);
        p.setPen(glyphPen(5));
        p.drawLine(QPointF(24, 17), QPointF(24, 28));
        p.drawPoint(QPointF(24, 35.5));
    });
    ok &= save(dir, "flatOkIco.png", flat, [](QPainter& p) {
        flatCircle(p, QColor(39, 174, 96));
        p.setPen(glyphPen(5));
        p.drawPolyline(QPolygonF({QPointF(14, 25), QPointF(21, 32), QPointF(34, 17)}));
    });
    ok &= save(dir, "flatCancelIco.png", flat, [](QPainter& p) {
        flatCircle(p, QColor(214, 48, 49));
        p.setPen(glyphPen(5));
        p.drawLine(QPointF(16, 16), QPointF(32, 32));
        p.drawLine(QPointF(32, 16), QPointF(16, 32));
    });

    const QSize wordmark(200, 50);
    ok &= save(dir, "Zarvo_logo_en.png", wordmark,
               [](QPainter& p) { logo(p, QStringLiteral("Tesmar")); });
    ok &= save(dir, "Zarvo_logo_ru.png", wordmark,
               [](QPainter& p) { logo(p, QStringLiteral("Тесмар")); });

    if (argc > 2) {
        // The emblem alone, centred and scaled up to fill a square icon.
        ok &= save(QDir(QString::fromLocal8Bit(argv[2])), "tesmar.png", QSize(128, 128), [](QPainter& p) {
            p.translate(64, 64);
            p.scale(3.8, 3.8);
            p.translate(-24.25, -23.75);
            emblem(p);
        });
    }

    return ok ? 0 : 1;
}
