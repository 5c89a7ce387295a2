#include "VirtualDisplay.h"

#include <QContextMenuEvent>
#include <QPainter>

#include "module/ModuleModel.h"

namespace lcd {
namespace {

// A yellow-green STN panel: dark dots on a lit background.
const QColor Background(0x9F, 0xC0, 0x3A);
const QColor DotOn(0x1E, 0x2A, 0x14);
const QColor DotOff(0x93, 0xB3, 0x36);
const QColor Frame(0x2B, 0x2B, 0x2B);

constexpr int PollMilliseconds = 16;  // about 60 looks a second; a repaint only when the module changed

}  // namespace

VirtualDisplay::VirtualDisplay(const ModuleModel& model, QWidget* parent)
    : QWidget(parent), model_(model), image_(DisplayColumns, DisplayRows, QImage::Format_RGB32) {
    setFixedSize(DisplayColumns * Scale + 2 * Bezel, DisplayRows * Scale + 2 * Bezel);
    setToolTip(tr("The virtual module: what the two controllers show after the port writes"));
    connect(&poll_, &QTimer::timeout, this, &VirtualDisplay::Refresh);
    poll_.start(PollMilliseconds);
    Refresh();
}

void VirtualDisplay::Refresh() {
    if (model_.ChangeCount() == shownChange_) {
        return;
    }
    const ModuleSnapshot snapshot = model_.Snapshot();
    shownChange_ = snapshot.changeCount;
    for (std::size_t half = 0; half < halfOn_.size(); ++half) {
        halfOn_[half] = snapshot.controllers[half].displayOn;
    }
    for (int y = 0; y < DisplayRows; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = 0; x < DisplayColumns; ++x) {
            line[x] = (snapshot.PixelOn(x, y) ? DotOn : DotOff).rgb();
        }
    }
    update();
}

QImage VirtualDisplay::Image(int scale) const {
    return scale == 1 ? image_
                      : image_.scaled(image_.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void VirtualDisplay::paintEvent(QPaintEvent*) {
    ++repaints_;
    QPainter painter(this);
    painter.fillRect(rect(), Frame);
    const QRect screen(Bezel, Bezel, DisplayColumns * Scale, DisplayRows * Scale);
    painter.fillRect(screen, Background);
    painter.drawImage(screen, image_);
    // A half that is switched off shows nothing, which looks the same as a blank one: say which it is.
    painter.setPen(DotOff.darker(130));
    for (std::size_t half = 0; half < halfOn_.size(); ++half) {
        if (!halfOn_[half]) {
            const QRect area(screen.x() + static_cast<int>(half) * screen.width() / 2, screen.y(),
                             screen.width() / 2, screen.height());
            painter.drawText(area, Qt::AlignCenter, tr("display off"));
        }
    }
}

void VirtualDisplay::contextMenuEvent(QContextMenuEvent* event) {
    emit ContextMenuAsked(event->globalPos());
}

}  // namespace lcd
