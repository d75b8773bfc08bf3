// The status line under the canvas: how long the text that Copy would put on
// the clipboard is as a post, on the chosen board, with a warning when it is
// over a limit. The board and custom limits persist in the settings. A
// warning too long for the line ends in an ellipsis and shows whole on hover.
#pragma once

#include <QWidget>

#include <string>

#include "export/post_counter.h"

class QComboBox;
class QLabel;

namespace fudeline {

class PostStatus : public QWidget {
    Q_OBJECT

  public:
    enum Board { k2ch = 0, kShitaraba = 1, kCustom = 2 };

    explicit PostStatus(QWidget* parent);

    // Counts `sjis` on the chosen board and shows the result.
    void Show(const std::string& sjis);
    // Chooses a board; for kCustom, `custom` becomes its limits. Saved at once.
    void ChooseBoard(Board board, const BoardLimits& custom);

    Board board() const { return board_; }
    BoardLimits limits() const;
    const PostCount& count() const { return count_; }
    // The whole text; the line shows as much as fits, the rest on hover.
    QString text() const { return text_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnBoardActivated(int index);
    void Refresh();
    void ShowText();

    QLabel* label_ = nullptr;
    QComboBox* boards_ = nullptr;
    Board board_ = k2ch;
    BoardLimits custom_ = k2chLimits;
    std::string sjis_;
    PostCount count_;
    QString text_;
};

}  // namespace fudeline
