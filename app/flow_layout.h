// The row of controls above the canvas: left to right in the order added,
// wrapping onto further rows when the window is too narrow for one, so that
// every control stays on screen however small the window (or large the
// scale) is.
#pragma once

#include <QLayout>
#include <QList>

namespace fudeline {

// The least room between what two neighbouring controls show.
inline constexpr int kControlGap = 4;

class FlowLayout : public QLayout {
  public:
    FlowLayout(QWidget* parent, int spacing);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

  private:
    // Lays the items out in `rect` (only measures when `apply` is false);
    // returns the height used.
    int Arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> items_;
    int spacing_;
};

}  // namespace fudeline
