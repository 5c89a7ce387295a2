#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>

#include "display/PageBuffer.h"
#include "module/ModuleSnapshot.h"

namespace lcd {

class ModuleModel;

// Draws the module model's visible image, enlarged, in the colours of a real module. It polls the
// model's change counter and repaints only when it moved, so it follows a running command live
// without ever touching the command thread.
class VirtualDisplay : public QWidget {
    Q_OBJECT
  public:
    static constexpr int Scale = 2;
    static constexpr int Bezel = 6;

    explicit VirtualDisplay(const ModuleModel& model, QWidget* parent = nullptr);

    // The module's 128 x 64 pixels as they are shown now, at 1:1 or enlarged.
    QImage Image(int scale = 1) const;
    // Checks the model now instead of waiting for the next poll.
    void Refresh();
    int RepaintCount() const { return repaints_; }

  signals:
    void ContextMenuAsked(const QPoint& globalPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    const ModuleModel& model_;
    QTimer poll_;
    QImage image_;  // 128 x 64, one pixel per dot
    std::uint64_t shownChange_ = ~0ULL;
    std::array<bool, 2> halfOn_{};
    int repaints_ = 0;
};

}  // namespace lcd
