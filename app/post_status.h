// The status line under the canvas: how long the text that Copy would put on
// the clipboard is as a post, on the chosen board, with a warning when it is
// over a limit. The board and custom limits persist in the settings. The
// counter has two lines: a warning wraps onto the second, and reads whole on
// hover too.
#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "export/boards.h"
#include "export/post_counter.h"

class QComboBox;
class QLabel;

namespace fudeline {

class PostStatus : public QWidget {
    Q_OBJECT

  public:
    // The chosen board: a row of kBoardProfiles by its index, or kCustom,
    // the list's entry after them. The list shows the rows in their order.
    using Board = int;
    static constexpr Board kCustom = static_cast<Board>(kBoardProfiles.size());

    // The board the settings and --board call `name` ("custom" for kCustom);
    // the default board for a name no row holds.
    static Board BoardNamed(std::string_view name);

    explicit PostStatus(QWidget* parent);

    // Counts `sjis` on the chosen board and shows the result.
    void Show(const std::string& sjis);
    // What the text would count after "左に寄せる", shown after the count
    // when it is less (nothing: no figure).
    void ShowAlignedLeft(std::optional<std::int64_t> bytes);
    // Chooses a board; `custom` becomes the custom board's limits when
    // ValidBoardLimits takes them (the old ones stay otherwise). Saved at once.
    void ChooseBoard(Board board, const BoardLimits& custom);

    Board board() const { return board_; }
    // The chosen board's name as BoardNamed reads it.
    std::string_view boardName() const;
    BoardLimits limits() const;
    const PostCount& count() const { return count_; }
    // The whole text; the counter shows as much as its two lines hold.
    QString text() const { return text_; }

  signals:
    // The user chose a board (the text's references may change with it).
    void boardChosen();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnBoardActivated(int index);
    void Refresh();
    void ShowBoard();
    void ShowText();

    QLabel* label_ = nullptr;
    QComboBox* boards_ = nullptr;
    Board board_ = BoardNamed(kDefaultBoard.name);
    BoardLimits custom_ = kDefaultBoard.limits;
    std::string sjis_;
    PostCount count_;
    std::optional<std::int64_t> alignedBytes_;
    QString text_;
};

}  // namespace fudeline
