// The floor the game is measured against: a bare Qt window of the game's size
// that paints one 640 x 480 picture and one line of Czech text in the strip
// below it. Nothing of the game is in it.
//
//   bench_baseline [--exit-after-paint] [PICTURE.png]
//
// With --exit-after-paint it prints the wall clock of its first painted frame
// and its peak resident memory, then ends: the same report as the game's
// driver gives, taken the same way.

#include "FirstPaint.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <cstring>

namespace {

class BareWindow : public QWidget {
public:
    explicit BareWindow(QImage picture) : picture_(std::move(picture))
    {
        setFixedSize(640, 496);
        setWindowTitle(QStringLiteral("baseline"));
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::black);
        setPalette(p);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, picture_);
        painter.setPen(Qt::white);
        painter.drawText(8, 492, QStringLiteral("Hudba     Počet zabití : 0"));
    }

private:
    QImage picture_;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    bool exitAfterPaint = false;
    QString picturePath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--exit-after-paint") == 0)
            exitAfterPaint = true;
        else
            picturePath = QString::fromLocal8Bit(argv[i]);
    }
    QImage picture(picturePath);
    if (picture.isNull()) {
        picture = QImage(640, 480, QImage::Format_RGB32);
        picture.fill(Qt::darkGray);
    }
    BareWindow window(picture);
    if (exitAfterPaint)
        new zw::bench::PaintWatch(&window, [] { zw::bench::reportFirstPaintAndExit(); });
    window.show();
    return app.exec();
}
