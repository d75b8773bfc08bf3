// The one window of Fudeline: six controls in a row, the pen indicator and the
// canvas. It owns one drawing session (ArtState) and one background picture,
// forwards mouse and button events to them, and shows what they hold. The
// conversion itself runs in the core, at paint time.
#pragma once

#include <QDialog>
#include <QPixmap>

#include <functional>

#include "app/engine_resources.h"
#include "background/background_picture.h"
#include "session/art_state.h"
#include "pixels/image.h"
#include "convert/row_matcher.h"
#include "convert/text_painter.h"

class QCheckBox;
class QPushButton;

namespace fudeline {

inline constexpr const char* kCaption = " \u3006(x`) Fudeline v1.5";
inline constexpr const char* kShiftJisMime = "text/plain;charset=Shift_JIS";

class CArtDlg : public QDialog {
    Q_OBJECT

  public:
    // `resources` must outlive the window.
    explicit CArtDlg(const EngineResources& resources, QWidget* parent = nullptr);
    ~CArtDlg() override;

    // Asks for a picture file; returns an empty string when the user cancels.
    // Tests replace the file dialog through this.
    using PictureChooser = std::function<QString(QWidget* parent)>;
    void SetPictureChooser(PictureChooser chooser) { choosePicture_ = std::move(chooser); }

    const ArtState& state() const { return state_; }
    const BackgroundPicture& background() const { return background_; }
    // The canvas as last composed (800 x 522).
    const Image& canvasImage() const { return view_; }
    bool showRowLines() const { return showRowLines_ == 1; }
    bool addBrTag() const { return addBrTag_ == 1; }

    // Runs a background menu command as if its item had been chosen.
    void RunBackgroundCommand(int command);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    // Reads both check boxes into showRowLines and addBrTag.
    void UpdateData();
    void InvalidateCanvas();
    void ExchangeWithUndo();
    void ClearCanvas();
    void CopyAsText();
    void OnRowLines();
    void ShowBackgroundMenu();
    void ChooseBackgroundImage();

    RowMatcher matcher_;
    TextPainter painter_;
    ArtState state_;
    BackgroundPicture background_;
    Image view_;
    QPixmap penIndicator_;  // "IDB_PEN": pen state at x 0-31, eraser state at x 32-63
    PictureChooser choosePicture_;

    int showRowLines_ = 0;
    int addBrTag_ = 0;

    QPushButton* undoButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QCheckBox* brTagBox_ = nullptr;
    QCheckBox* rowLinesBox_ = nullptr;
    QPushButton* backgroundButton_ = nullptr;
};

}  // namespace fudeline
