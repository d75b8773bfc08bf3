#include "app/art_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

#include "app/background_menu.h"
#include "export/export_text.h"
#include "glyphs/cp932.h"
#include "pixels/geometry.h"
#include "session/client_map.h"
#include "session/compose.h"

#include "res/fudeline_icon.xpm"
#include "res/pen_indicator.xpm"

namespace fudeline {
namespace {

// The window is laid out in dialog units of its 9-point face; these base units
// turn the 471 x 382 template into a client area that holds the 800 x 522
// canvas at (12, 40) below one row of controls.
constexpr int kBaseUnitX = 7;
constexpr int kBaseUnitY = 12;
QRect DialogUnits(int x, int y, int w, int h) {
    return QRect(x * kBaseUnitX / 4, y * kBaseUnitY / 8, w * kBaseUnitX / 4, h * kBaseUnitY / 8);
}

const QRect kCanvasRect(kCanvasLeft, kCanvasTop, kCanvasWidth, kCanvasHeight);

// Mouse positions reach the window as two signed 16-bit values.
int ToMouseCoordinate(double v) {
    return static_cast<int>(std::clamp(v, -32768.0, 32767.0));
}

QString DefaultPictureChooser(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("背景画像を指定してください"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QStringLiteral("すべてのﾌｧｲﾙ(*.*)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace

CArtDlg::CArtDlg(const EngineResources& resources, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      matcher_(resources.catalog),
      painter_(*resources.font),
      state_(matcher_, &painter_),
      view_(kCanvasWidth, kCanvasHeight),
      penIndicator_(pen_indicator_xpm),
      choosePicture_(DefaultPictureChooser) {
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(QIcon(QPixmap(fudeline_icon_xpm)));
    const QRect client = DialogUnits(0, 0, 471, 382);
    setFixedSize(client.size());
    setAttribute(Qt::WA_OpaquePaintEvent);  // every paint covers what it repaints
    CreateControls();
    qApp->installEventFilter(this);
}

CArtDlg::~CArtDlg() {
    qApp->removeEventFilter(this);
}

void CArtDlg::CreateControls() {
    auto button = [this](const char* id, const QString& text, QRect where) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(id));
        b->setGeometry(where);
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setFocusPolicy(Qt::ClickFocus);  // no tab stop
        return b;
    };
    auto checkBox = [this](const char* id, const QString& text, QRect where) {
        auto* c = new QCheckBox(text, this);
        c->setObjectName(QString::fromLatin1(id));
        c->setGeometry(where);
        c->setChecked(false);
        return c;
    };
    // Template (and tab) order.
    undoButton_ = button("1003", QStringLiteral("元に戻す"), DialogUnits(32, 7, 38, 14));
    clearButton_ = button("1001", QStringLiteral("すべてクリア"), DialogUnits(77, 7, 48, 14));
    copyButton_ =
        button("1000", QStringLiteral("クリップボードにコピー"), DialogUnits(132, 7, 78, 14));
    brTagBox_ =
        checkBox("1010", QStringLiteral("コピー時<BR>タグを追加"), DialogUnits(215, 9, 88, 10));
    rowLinesBox_ = checkBox("1009", QStringLiteral("行ラインを表示"), DialogUnits(306, 9, 59, 10));
    backgroundButton_ = button("1002", QStringLiteral("背景..."), DialogUnits(366, 7, 50, 14));

    connect(undoButton_, &QPushButton::clicked, this, &CArtDlg::ExchangeWithUndo);
    connect(clearButton_, &QPushButton::clicked, this, &CArtDlg::ClearCanvas);
    connect(copyButton_, &QPushButton::clicked, this, &CArtDlg::CopyAsText);
    connect(rowLinesBox_, &QCheckBox::clicked, this, &CArtDlg::OnRowLines);
    connect(backgroundButton_, &QPushButton::clicked, this, &CArtDlg::ShowBackgroundMenu);
}

void CArtDlg::UpdateData() {
    showRowLines_ = rowLinesBox_->isChecked() ? 1 : 0;
    addBrTag_ = brTagBox_->isChecked() ? 1 : 0;
}

void CArtDlg::InvalidateCanvas() {
    update(kCanvasRect);
}

void CArtDlg::paintEvent(QPaintEvent* event) {
    // The conversion waits for the paint: any number of mouse moves before it
    // cost one conversion.
    state_.RunPendingConversion();
    QPainter painter(this);
    if (event->region().intersects(kCanvasRect)) {
        CanvasView parts;
        parts.picture = background_.CanvasLayer();
        parts.showRowLines = showRowLines_ == 1;
        parts.stroke = &state_.preview();
        parts.textLayer = &state_.textLayer();
        ComposeCanvas(parts, view_);
        const QImage image(reinterpret_cast<const uchar*>(view_.Row(0)), kCanvasWidth,
                           kCanvasHeight, kCanvasWidth * 4, QImage::Format_RGB32);
        painter.drawImage(kCanvasRect.topLeft(), image);  // 1:1, no smoothing
    }
    const QRect rest = rect();
    QRegion outside = QRegion(rest).subtracted(kCanvasRect);
    for (const QRect& r : outside) painter.fillRect(r, palette().window());
    painter.drawPixmap(kIndicatorLeft, kIndicatorTop, penIndicator_,
                       state_.penMode() ? 0 : kIndicatorWidth, 0, kIndicatorWidth,
                       kIndicatorHeight);
}

void CArtDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    // The press grabs the mouse until release: points outside the window keep arriving.
    const ClientTarget target = MapClientPoint(ToMouseCoordinate(p.x()), ToMouseCoordinate(p.y()));
    if (target.kind == ClientTarget::Kind::PenIndicator) {
        state_.TogglePenMode();
        update();
    } else if (target.kind == ClientTarget::Kind::Canvas) {
        state_.BeginStroke(target.point);
    }
}

void CArtDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    const ClientTarget target = MapClientPoint(ToMouseCoordinate(p.x()), ToMouseCoordinate(p.y()));
    if (state_.ExtendStroke(target.point)) InvalidateCanvas();
}

void CArtDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (state_.EndStroke()) InvalidateCanvas();
}

void CArtDlg::ExchangeWithUndo() {
    state_.ExchangeWithUndo();
    InvalidateCanvas();
}

void CArtDlg::ClearCanvas() {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                    QStringLiteral("すべて消去します。\n\nよろしいですか？"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    // Only a Yes erases: Escape and the close box count as No.
    if (box.exec() != QMessageBox::Yes) return;
    state_.ClearCanvas();
    InvalidateCanvas();
}

void CArtDlg::CopyAsText() {
    UpdateData();
    const std::string sjis = ComposeExportText(state_.rows(), addBrTag_ == 1);
    auto* mime = new QMimeData;
    // Without a CP932 table only the Shift-JIS form can be offered.
    mime->setText(QString::fromStdString(ComposeExportUtf8(state_.rows(), addBrTag_ == 1).value_or(std::string())));
    mime->setData(QString::fromLatin1(kShiftJisMime),
                  QByteArray(sjis.data(), static_cast<qsizetype>(sjis.size())));
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setMimeData(mime);
    } else {
        delete mime;
    }
}

void CArtDlg::OnRowLines() {
    UpdateData();
    InvalidateCanvas();
}

void CArtDlg::ShowBackgroundMenu() {
    QMenu* menu = BuildBackgroundMenu(background_, this);
    QAction* chosen =
        menu->exec(backgroundButton_->mapToGlobal(QPoint(0, backgroundButton_->height())));
    const int command = chosen ? chosen->data().toInt() : 0;
    delete menu;
    if (command != 0) RunBackgroundCommand(command);
}

void CArtDlg::RunBackgroundCommand(int command) {
    if (command == kChoosePicture) {
        ChooseBackgroundImage();
        return;
    }
    if (command == kToggleShow) {
        background_.ToggleShown();
    } else if (command == kToggleFaint) {
        background_.ToggleFaint();
    } else if (const int scale = ScaleOfCommand(command)) {
        background_.SetScale(scale);
    } else {
        return;
    }
    InvalidateCanvas();
}

void CArtDlg::ChooseBackgroundImage() {
    const QString path = choosePicture_(this);
    if (path.isEmpty()) return;  // cancelled: nothing changes
    QString why;
    const bool loaded = background_.Choose(path, &why);
    InvalidateCanvas();
    if (!loaded) {
        QMessageBox::warning(this, QApplication::applicationName(),
                             QStringLiteral("背景画像を読み込めませんでした。\n\n%1\n%2")
                                 .arg(QDir::toNativeSeparators(path), why));
    }
}

void CArtDlg::closeEvent(QCloseEvent* event) {
    background_.Release();
    QDialog::closeEvent(event);
}

bool CArtDlg::eventFilter(QObject* watched, QEvent* event) {
    // Enter and Escape do nothing anywhere in this window: they neither close
    // it nor press a control. Other windows (message boxes) keep them.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->window() == this) return event->type() == QEvent::KeyPress;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace fudeline
