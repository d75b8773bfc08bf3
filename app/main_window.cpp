#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <array>
#include <cmath>

#include "app/background_menu.h"
#include "app/canvas_widget.h"
#include "app/core_reasons.h"
#include "app/flow_layout.h"
#include "app/page_dialogs.h"
#include "app/post_status.h"
#include "app/settings_keys.h"
#include "engine/fit_board.h"
#include "engine/trace_file.h"
#include "files/file_bytes.h"
#include "io/library_pixels.h"
#include "io/png_writer.h"
#include "pixels/geometry.h"
#include "session/client_map.h"

#include "engine/engine_errors.h"
#include "res/fudeline_icon.xpm"

namespace fudeline {
namespace {

// Traced lines wait this long between looks for the end of a stroke under way.
constexpr int kStrokeEndPollMs = 30;

// The "左に寄せると" figure is worked out this long after drawing stops.
constexpr int kAlignCountDelayMs = 250;

// The zoom steps: 100 % to 800 %.
constexpr std::array<double, 7> kZoomSteps = {1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0};

// Drawings larger than this are not read: no real drawing comes near it.
constexpr std::size_t kMaxDrawingFileBytes = std::size_t{64} << 20;

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A path as the core's files are named (the system's encoding of names).
std::string FilePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QStringList PictureFilters() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    }
    // "*" matches every name, those without a dot too.
    return {MainWindow::tr("画像 (%1)").arg(patterns.join(QLatin1Char(' '))),
            MainWindow::tr("すべてのファイル (*)")};
}

}  // namespace

MainWindow::MainWindow(Engine& engine, QWidget* parent)
    : QMainWindow(parent),
      engine_(engine),
      document_(engine),
      state_(document_.state()),
      chooseFile_(ChooseFileWithDialog),
      choosePage_(ChoosePageWithDialog),
      askPageName_(AskPageNameWithDialog),
      askFrame_(AskFrameWithDialog),
      keptInk_(kCanvasWidth, kInkHeight) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(QIcon(QPixmap(fudeline_icon_xpm)));
    CreateControls();
    RestorePartsLibraries();
    ApplyConversionMode();
    ApplyStabilizer();
    SyncTools();
}

MainWindow::~MainWindow() {
    // The worker reads only its own copy of the picture; what it finds after
    // the window is gone has nowhere to go.
    traceWatcher_.disconnect();
    traceWatcher_.waitForFinished();
}

QAction* MainWindow::AddCommand(const char* name, const QString& text, const QKeySequence& shortcut,
                                void (MainWindow::*command)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, command);
    addAction(action);  // the shortcut works anywhere in the window
    commands_.append(action);
    return action;
}

void MainWindow::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* controls = new QWidget(client);
    controls->setObjectName(QStringLiteral("controls"));
    // The row keeps the design's margins: the indicator at (11, 11).
    auto* row = new FlowLayout(controls, kControlGap + 2);
    row->setContentsMargins(kIndicatorLeft, kIndicatorTop - 1, kIndicatorLeft, 6);
    column->addWidget(controls);

    QSettings settings;
    auto button = [controls, row](const char* name, QAction* action, const QString& text) {
        auto* b = new QPushButton(text, controls);
        b->setObjectName(QString::fromLatin1(name));
        // The whole label with the style's margins, never the style's wider
        // minimum the design's narrow buttons never had.
        const int margins = 2 * (b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) +
                                 b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b));
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(text) + margins);
        if (action) {
            connect(b, &QPushButton::clicked, action, &QAction::trigger);
            b->setToolTip(action->shortcut().isEmpty()
                              ? QString()
                              : action->shortcut().toString(QKeySequence::NativeText));
        }
        row->addWidget(b);
        return b;
    };
    auto checkBox = [controls, row](const char* name, const QString& text, bool checked) {
        auto* c = new QCheckBox(text, controls);
        c->setObjectName(QString::fromLatin1(name));
        c->setChecked(checked);
        row->addWidget(c);
        return c;
    };

    view_ = new QScrollArea(client);
    view_->setObjectName(QStringLiteral("canvasView"));
    view_->setFrameShape(QFrame::NoFrame);
    view_->setAlignment(Qt::AlignCenter);
    view_->setWidgetResizable(false);
    view_->setBackgroundRole(QPalette::Window);
    // The canvas takes the keys; arrows it leaves still scroll the view.
    view_->setFocusPolicy(Qt::NoFocus);
    canvas_ = new CanvasWidget(document_, background_, view_);
    view_->setWidget(canvas_);
    auto* indicator = new PenIndicator(document_, *canvas_, controls);
    indicator_ = indicator;
    row->addWidget(indicator);
    CreateMenus();

    QPushButton* textButton = button("textButton", text_, tr("文字"));
    textButton->setCheckable(true);
    textButton->setToolTip(tr("クリックした所に文字を打ちます (%1)")
                               .arg(text_->shortcut().toString(QKeySequence::NativeText)));

    QPushButton* undoButton = button("undoButton", undo_, tr("元に戻す"));
    button("redoButton", redo_, tr("やり直し"));
    button("clearButton", findChild<QAction*>(QStringLiteral("clearAction")), tr("すべてクリア"));
    QPushButton* copyButton = button("copyButton", nullptr, tr("クリップボードにコピー"));
    connect(copyButton, &QPushButton::clicked, this, &MainWindow::CopyAsText);
    brTagBox_ = checkBox("brTagCheckBox", tr("コピー時<BR>タグを追加"),
                         settings.value(settings_keys::kAddBrTag, false).toBool());
    rowLinesBox_ = checkBox("rowLinesCheckBox", tr("行ラインを表示"),
                            settings.value(settings_keys::kRowLines, false).toBool());
    QPushButton* backgroundButton = button("backgroundButton", nullptr, tr("背景..."));
    QPushButton* fileButton = button("fileButton", nullptr, tr("ファイル..."));
    undoButton->setDefault(false);
    column->addWidget(view_, 1);

    // The conversion choices sit at the status line's right end, as clear of
    // the window edge as the counter is of the left one, in two lines as the
    // counter has, so that its warnings keep room to show whole.
    auto* choices = new QWidget(this);
    choices->setObjectName(QStringLiteral("conversionChoices"));
    auto* choicesLayout = new QGridLayout(choices);
    choicesLayout->setVerticalSpacing(0);
    choicesLayout->setContentsMargins(0, 0, 6, 0);
    fineBox_ = new QCheckBox(tr("きれいに変換"), choices);
    fineBox_->setObjectName(QStringLiteral("fineCheckBox"));
    fineBox_->setToolTip(tr("行ごとに線をなぞる文字の並びを選びます（少し遅くなります）"));
    fineBox_->setChecked(settings.value(settings_keys::kFine, true).toBool());
    noFillersBox_ = new QCheckBox(tr("フィラーなし"), choices);
    noFillersBox_->setObjectName(QStringLiteral("noFillersCheckBox"));
    noFillersBox_->setToolTip(tr("すき間を空白だけで埋め、線のない所に点を置きません"));
    noFillersBox_->setChecked(settings.value(settings_keys::kNoFillers, false).toBool());
    unicodeSpacingBox_ = new QCheckBox(tr("Unicode空白"), choices);
    unicodeSpacingBox_->setObjectName(QStringLiteral("unicodeSpacingCheckBox"));
    unicodeSpacingBox_->setToolTip(
        tr("すき間を Unicode の空白でぴったり埋めます（文字参照の使える板向け）"));
    unicodeSpacingBox_->setChecked(settings.value(settings_keys::kUnicodeSpacing, false).toBool());
    // How steadily strokes are drawn: weak for a new user, which evens out
    // a tremor and still keeps small curves nearly their size.
    auto* stabilizer = new QWidget(choices);
    auto* stabilizerLayout = new QHBoxLayout(stabilizer);
    stabilizerLayout->setContentsMargins(0, 0, 0, 0);
    stabilizerLayout->setSpacing(4);
    auto* stabilizerLabel = new QLabel(tr("手ぶれ補正:"), stabilizer);
    stabilizerBox_ = new QComboBox(stabilizer);
    stabilizerBox_->setObjectName(QStringLiteral("stabilizerComboBox"));
    stabilizerBox_->setToolTip(
        tr("線を少し遅れて追わせ、手のふるえをならします（Shift を押しながら描くと直線）"));
    stabilizerBox_->setFocusPolicy(Qt::StrongFocus);  // a tab stop like every control
    stabilizerLabel->setBuddy(stabilizerBox_);
    for (const Stabilizer s : {Stabilizer::Off, Stabilizer::Weak, Stabilizer::Strong}) {
        const QString label = s == Stabilizer::Off    ? tr("なし")
                              : s == Stabilizer::Weak ? tr("弱")
                                                      : tr("強");
        stabilizerBox_->addItem(label, QString::fromLatin1(StabilizerName(s).data(),
                                                           static_cast<qsizetype>(StabilizerName(s).size())));
    }
    const int stored = stabilizerBox_->findData(
        settings.value(settings_keys::kStabilizer, QStringLiteral("weak")).toString());
    stabilizerBox_->setCurrentIndex(stored >= 0 ? stored : 1);
    stabilizerLayout->addWidget(stabilizerLabel);
    stabilizerLayout->addWidget(stabilizerBox_);
    choicesLayout->addWidget(fineBox_, 0, 0);
    choicesLayout->addWidget(noFillersBox_, 0, 1);
    choicesLayout->addWidget(unicodeSpacingBox_, 1, 0);
    choicesLayout->addWidget(stabilizer, 1, 1);

    canvas_->SetShowRowLines(rowLinesBox_->isChecked());
    rowLines_->setChecked(rowLinesBox_->isChecked());

    connect(brTagBox_, &QCheckBox::toggled, this, [this](bool on) {
        QSettings().setValue(settings_keys::kAddBrTag, on);
        document_.SetBr(on);
        DrawingChanged();  // the text Copy would give changed
    });
    connect(rowLinesBox_, &QCheckBox::toggled, this, [this](bool on) {
        QSettings().setValue(settings_keys::kRowLines, on);
        canvas_->SetShowRowLines(on);
        rowLines_->setChecked(on);
    });
    connect(backgroundButton, &QPushButton::clicked, this,
            [this, backgroundButton] { ShowMenuUnder(backgroundMenu_, backgroundButton); });
    connect(fileButton, &QPushButton::clicked, this,
            [this, fileButton] { ShowMenuUnder(fileMenu_, fileButton); });
    connect(fineBox_, &QCheckBox::toggled, this, [this](bool on) {
        QSettings().setValue(settings_keys::kFine, on);
        ApplyConversionMode();
    });
    connect(noFillersBox_, &QCheckBox::toggled, this, [this](bool on) {
        QSettings().setValue(settings_keys::kNoFillers, on);
        ApplyConversionMode();
    });
    connect(unicodeSpacingBox_, &QCheckBox::toggled, this, [this](bool on) {
        QSettings().setValue(settings_keys::kUnicodeSpacing, on);
        ApplyConversionMode();
    });
    connect(stabilizerBox_, &QComboBox::currentIndexChanged, this, [this] {
        QSettings().setValue(settings_keys::kStabilizer, stabilizerBox_->currentData());
        ApplyStabilizer();
    });
    connect(backgroundMenu_, &BackgroundMenu::choosePictureRequested, this,
            &MainWindow::ChooseBackgroundPicture);
    connect(backgroundMenu_, &BackgroundMenu::traceLinesRequested, this,
            [this] { TraceBackgroundLines(); });
    connect(backgroundMenu_, &BackgroundMenu::traceLinesToFitBoardRequested, this,
            [this] { TraceBackgroundLines(true); });
    connect(&traceWatcher_, &QFutureWatcher<TracedInk>::finished, this, [this] {
        if (boardFit_ && boardFit_->error) {
            const Error error = *boardFit_->error;
            boardFit_.reset();
            SetTracing(false);
            QMessageBox::warning(this, QApplication::applicationName(),
                                 tr("背景画像の線を取り込めませんでした。") +
                                     QStringLiteral("\n\n") + ReasonText(error));
            return;
        }
        tracedInk_ = traceWatcher_.result().ink;
        AddTracedLines();
    });
    connect(backgroundMenu_, &BackgroundMenu::pictureChanged, canvas_,
            qOverload<>(&QWidget::update));
    connect(canvas_, &CanvasWidget::rowsChanged, this, &MainWindow::DrawingChanged);
    connect(canvas_, &CanvasWidget::selectionChanged, this, &MainWindow::SyncTools);
    connect(canvas_, &CanvasWidget::fileDropped, this, &MainWindow::LoadBackgroundPicture);
    connect(canvas_, &CanvasWidget::typingRefused, this,
            [this](const QString& reason) { ShowStatusMessage(reason, kMessageMs); });
    connect(canvas_, &CanvasWidget::panRequested, this, [this](QPoint delta) {
        view_->horizontalScrollBar()->setValue(view_->horizontalScrollBar()->value() + delta.x());
        view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->value() + delta.y());
    });
    connect(canvas_, &CanvasWidget::zoomRequested, this,
            [this](int steps, QPointF local) { ZoomBy(steps, local); });
    connect(indicator, &PenIndicator::toggled, this, [this] {
        canvas_->SetTool(CanvasWidget::Tool::Draw);
        SyncTools();
    });

    postStatus_ = new PostStatus(this);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("statusMessage"));
    // As wide as its text (nothing when there is none), the counter keeping the rest.
    message_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    message_->setMaximumWidth(kCanvasWidth / 2);
    messageTimer_ = new QTimer(this);
    messageTimer_->setSingleShot(true);
    connect(messageTimer_, &QTimer::timeout, message_, &QLabel::clear);
    alignTimer_ = new QTimer(this);
    alignTimer_->setSingleShot(true);
    alignTimer_->setInterval(kAlignCountDelayMs);
    connect(alignTimer_, &QTimer::timeout, this, &MainWindow::CountAlignedLeft);
    document_.SetBr(brTagBox_->isChecked());
    document_.SetBoard(std::string(postStatus_->boardName()));
    connect(postStatus_, &PostStatus::boardChosen, this, [this] {
        document_.SetBoard(std::string(postStatus_->boardName()));
        DrawingChanged();  // references come and go with the board
    });
    // However narrow the window, the count itself stays readable.
    if (auto* count = postStatus_->findChild<QLabel*>(QStringLiteral("postCount"))) {
        count->setMinimumWidth(count->fontMetrics().horizontalAdvance(tr("0,000 / 2,048 バイト　00 / 24 行")));
    }
    statusBar()->setSizeGripEnabled(true);
    // The counter and its board list stay in view whatever message is shown.
    statusBar()->addWidget(postStatus_, 1);
    statusBar()->addWidget(message_);
    statusBar()->addPermanentWidget(choices);

    // Tab goes through every control in the order they are shown.
    QList<QWidget*> order = {textButton,
                             findChild<QPushButton*>(QStringLiteral("undoButton")),
                             findChild<QPushButton*>(QStringLiteral("redoButton")),
                             findChild<QPushButton*>(QStringLiteral("clearButton")),
                             copyButton,
                             brTagBox_,
                             rowLinesBox_,
                             backgroundButton,
                             fileButton,
                             canvas_};
    for (QComboBox* list : postStatus_->findChildren<QComboBox*>()) order << list;
    order << fineBox_ << noFillersBox_ << unicodeSpacingBox_ << stabilizerBox_;
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);

    // The design's size: the controls in one row over the canvas with its
    // margins, but never more than the screen holds (the canvas scrolls then).
    const int width = std::max(kCanvasWidth + 2 * kCanvasLeft, row->sizeHint().width());
    const int height = row->heightForWidth(width) + kCanvasHeight + kCanvasLeft +
                       menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    QSize size(width, height);
    if (const QScreen* screen = this->screen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 95 / 100);
    }
    resize(size);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // The canvas's top left in view first, where a drawing begins, once
    // the first layout has placed it.
    QTimer::singleShot(0, this, [this] {
        view_->horizontalScrollBar()->setValue(0);
        view_->verticalScrollBar()->setValue(0);
    });
}

void MainWindow::CreateMenus() {
    QMenuBar* bar = menuBar();
    QAction* open = AddCommand("openDrawingAction", tr("描画を開く(&O)..."), QKeySequence::Open,
                               &MainWindow::OpenDrawing);
    QAction* save = AddCommand("saveDrawingAction", tr("描画を保存(&S)..."), QKeySequence::Save,
                               &MainWindow::SaveDrawing);
    QAction* exportText =
        AddCommand("exportTextAction", tr("テキストを書き出す(&E)..."),
                   QKeySequence(Qt::CTRL | Qt::Key_E), &MainWindow::ExportTextFile);
    QAction* picture =
        AddCommand("saveTextPictureAction", tr("テキストを画像で保存(&P)..."),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &MainWindow::SaveTextPicture);
    QAction* openTextArt = AddCommand("openTextArtAction", tr("テキストアートを開く(&T)..."),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
                                      &MainWindow::OpenTextArt);
    QAction* appendPage = AddCommand("appendPageAction", tr("ページとして追加(&A)..."),
                                     QKeySequence(), &MainWindow::AppendPage);
    QAction* quit = new QAction(tr("閉じる(&X)"), this);
    quit->setObjectName(QStringLiteral("closeAction"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    commands_.append(quit);
    fileMenu_ = new QMenu(tr("ファイル(&F)"), this);
    fileMenu_->setObjectName(QStringLiteral("fileMenu"));
    fileMenu_->addActions({open, save});
    fileMenu_->addSeparator();
    fileMenu_->addActions({exportText, picture});
    fileMenu_->addSeparator();
    fileMenu_->addActions({openTextArt, appendPage});
    fileMenu_->addSeparator();
    fileMenu_->addAction(quit);
    bar->addMenu(fileMenu_);

    undo_ = AddCommand("undoAction", tr("元に戻す(&U)"), QKeySequence::Undo, &MainWindow::Undo);
    redo_ = AddCommand("redoAction", tr("やり直し(&R)"), QKeySequence(), &MainWindow::Redo);
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                         QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QAction* cut = AddCommand("cutAction", tr("切り取り(&T)"), QKeySequence::Cut, &MainWindow::Cut);
    QAction* copy = AddCommand("copyAction", tr("コピー(&C)"), QKeySequence::Copy, &MainWindow::Copy);
    QAction* copyText = AddCommand("copyTextAction", tr("テキストをクリップボードにコピー(&Y)"),
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                                   &MainWindow::CopyAsText);
    QAction* paste = AddCommand("pasteAction", tr("貼り付け(&P)"), QKeySequence::Paste, &MainWindow::Paste);
    QAction* remove = AddCommand("deleteAction", tr("選択範囲を削除(&D)"), QKeySequence::Delete,
                                 &MainWindow::DeleteSelection);
    QAction* all = AddCommand("selectAllAction", tr("すべて選択(&A)"), QKeySequence::SelectAll,
                              &MainWindow::SelectAll);
    QAction* none = AddCommand("clearSelectionAction", tr("選択を解除(&N)"),
                               QKeySequence(Qt::Key_Escape), &MainWindow::ClearSelection);
    QAction* alignLeft = AddCommand("alignLeftAction", tr("左に寄せる(&L)"),
                                    QKeySequence(Qt::CTRL | Qt::Key_L), &MainWindow::AlignLeft);
    alignLeft->setToolTip(tr("絵全体を左端まで動かし、各行の左の余白を減らします"));
    QAction* clear =
        AddCommand("clearAction", tr("すべてクリア(&K)"), QKeySequence(), &MainWindow::ClearAll);
    singleUndo_ = new QAction(tr("1段階の元に戻す(&1)"), this);
    singleUndo_->setObjectName(QStringLiteral("singleUndoAction"));
    singleUndo_->setCheckable(true);
    singleUndo_->setToolTip(tr("元に戻すを1段階だけにし、もう一度押すとやり直します"));
    singleUndo_->setChecked(QSettings().value(settings_keys::kSingleUndo, false).toBool());
    document_.SetUndoMode(singleUndo_->isChecked() ? UndoMode::Single : UndoMode::Steps);
    connect(singleUndo_, &QAction::toggled, this, [this](bool on) {
        QSettings().setValue(settings_keys::kSingleUndo, on);
        document_.SetUndoMode(on ? UndoMode::Single : UndoMode::Steps);
        SyncTools();
    });
    QMenu* edit = bar->addMenu(tr("編集(&E)"));
    edit->setObjectName(QStringLiteral("editMenu"));
    edit->addActions({undo_, redo_});
    edit->addSeparator();
    edit->addActions({cut, copy, copyText, paste, remove});
    edit->addSeparator();
    edit->addActions({all, none});
    edit->addSeparator();
    edit->addActions({alignLeft, clear});
    edit->addSeparator();
    edit->addAction(singleUndo_);

    QAction* zoomIn = AddCommand("zoomInAction", tr("拡大(&I)"), QKeySequence::ZoomIn, &MainWindow::ZoomIn);
    zoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* zoomOut =
        AddCommand("zoomOutAction", tr("縮小(&O)"), QKeySequence::ZoomOut, &MainWindow::ZoomOut);
    QAction* actual = AddCommand("actualSizeAction", tr("等倍 (100%)(&A)"),
                                 QKeySequence(Qt::CTRL | Qt::Key_0), &MainWindow::ZoomActualSize);
    QAction* fit = AddCommand("fitCanvasAction", tr("全体を表示(&F)"),
                              QKeySequence(Qt::CTRL | Qt::Key_9), &MainWindow::ZoomToFit);
    rowLines_ = new QAction(tr("行ラインを表示(&R)"), this);
    rowLines_->setObjectName(QStringLiteral("rowLinesAction"));
    rowLines_->setCheckable(true);
    connect(rowLines_, &QAction::triggered, this, [this](bool on) { rowLinesBox_->setChecked(on); });
    QMenu* viewMenu = bar->addMenu(tr("表示(&V)"));
    viewMenu->setObjectName(QStringLiteral("viewMenu"));
    viewMenu->addActions({zoomIn, zoomOut, actual, fit});
    viewMenu->addSeparator();
    viewMenu->addAction(rowLines_);
    CreatePartsPalette(viewMenu);

    pen_ = AddCommand("penAction", tr("ペン(&P)"), QKeySequence(Qt::Key_P), &MainWindow::ChoosePen);
    eraser_ = AddCommand("eraserAction", tr("消しゴム(&E)"), QKeySequence(Qt::Key_E),
                         &MainWindow::ChooseEraser);
    select_ = AddCommand("selectAction", tr("範囲選択(&S)"), QKeySequence(Qt::Key_S),
                         &MainWindow::ChooseSelect);
    text_ =
        AddCommand("textAction", tr("文字(&T)"), QKeySequence(Qt::Key_T), &MainWindow::ChooseText);
    auto* tools = new QActionGroup(this);
    for (QAction* tool : {pen_, eraser_, select_, text_}) {
        tool->setCheckable(true);
        tools->addAction(tool);
    }
    QMenu* toolMenu = bar->addMenu(tr("ツール(&T)"));
    toolMenu->setObjectName(QStringLiteral("toolMenu"));
    toolMenu->addActions({pen_, eraser_, select_, text_});
    CreateEraserSizes(toolMenu);

    backgroundMenu_ = new BackgroundMenu(background_, this);
    backgroundMenu_->setTitle(tr("背景(&B)"));
    bar->addMenu(backgroundMenu_);

    QAction* keys = AddCommand("shortcutsAction", tr("キー操作の一覧(&K)"), QKeySequence::HelpContents,
                               &MainWindow::ShowShortcuts);
    QMenu* help = bar->addMenu(tr("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("helpMenu"));
    help->addAction(keys);
}

void MainWindow::ShowMenuUnder(QMenu* menu, QPushButton* button) {
    menu->exec(button->mapToGlobal(QPoint(0, button->height())));
}

std::string MainWindow::ExportText() const {
    return document_.Text(TextFormat::ShiftJis).value_or(std::string());
}

void MainWindow::DrawingChanged() {
    if (postStatus_) {
        postStatus_->Show(ExportText());
        alignTimer_->start();
    }
    SyncTools();
}

void MainWindow::CountAlignedLeft() {
    // Mid-stroke the count waits for the stroke to end.
    if (state_.strokeActive()) {
        alignTimer_->start();
        return;
    }
    const bool pending = state_.conversionPending();
    const std::optional<PostCount> aligned = document_.CountPostAlignedLeft(postStatus_->limits());
    if (pending) canvas_->update();
    postStatus_->ShowAlignedLeft(aligned ? std::optional<std::int64_t>(aligned->bytes) : std::nullopt);
}

void MainWindow::ShowStatusMessage(const QString& message, int ms) {
    message_->setText(message);
    message_->setToolTip(message);
    if (ms > 0) {
        messageTimer_->start(ms);
    } else {
        messageTimer_->stop();
    }
}

QString MainWindow::statusMessage() const {
    return message_->text();
}

void MainWindow::SyncTools() {
    if (!undo_ || !canvas_) return;
    undo_->setEnabled(document_.state().CanUndo());
    redo_->setEnabled(document_.state().CanRedo());
    const bool drawing = canvas_->tool() == CanvasWidget::Tool::Draw;
    pen_->setChecked(drawing && state_.penMode());
    eraser_->setChecked(drawing && !state_.penMode());
    select_->setChecked(canvas_->tool() == CanvasWidget::Tool::Select);
    text_->setChecked(canvas_->tool() == CanvasWidget::Tool::Text);
    if (auto* textButton = findChild<QPushButton*>(QStringLiteral("textButton"))) {
        textButton->setChecked(text_->isChecked());
    }
    for (const char* name : {"cutAction", "deleteAction", "clearSelectionAction"}) {
        findChild<QAction*>(QString::fromLatin1(name))->setEnabled(document_.selection().has_value());
    }
    findChild<QAction*>(QStringLiteral("pasteAction"))->setEnabled(document_.HasCopied());
    for (const auto& [name, action] : {std::pair{"undoButton", undo_}, std::pair{"redoButton", redo_}}) {
        if (QWidget* button = findChild<QPushButton*>(QString::fromLatin1(name))) {
            button->setEnabled(action->isEnabled());
        }
    }
    if (indicator_) indicator_->update();
}

void MainWindow::Undo() {
    canvas_->EndTyping();  // the caret's row is no longer the one it stood in
    document_.Undo();
    canvas_->update();
    DrawingChanged();
}

void MainWindow::Redo() {
    canvas_->EndTyping();  // the caret's row is no longer the one it stood in
    document_.Redo();
    canvas_->update();
    DrawingChanged();
}

void MainWindow::ChoosePen() {
    if (!state_.penMode()) state_.TogglePenMode();
    canvas_->SetTool(CanvasWidget::Tool::Draw);
    SyncTools();
}

void MainWindow::ChooseEraser() {
    if (state_.penMode()) state_.TogglePenMode();
    canvas_->SetTool(CanvasWidget::Tool::Draw);
    SyncTools();
}

void MainWindow::ChooseSelect() {
    canvas_->SetTool(CanvasWidget::Tool::Select);
    SyncTools();
}

void MainWindow::ChooseText() {
    canvas_->SetTool(CanvasWidget::Tool::Text);
    canvas_->setFocus(Qt::ShortcutFocusReason);
    SyncTools();
}

void MainWindow::Copy() {
    if (document_.selection()) {
        document_.CopySelection();
        ShowStatusMessage(tr("選択範囲をコピーしました（貼り付けは Ctrl+V）"), kMessageMs);
        SyncTools();
        return;
    }
    CopyAsText();
}

void MainWindow::Cut() {
    canvas_->EndTyping();
    if (!document_.CutSelection()) return;
    canvas_->update();
    DrawingChanged();
}

void MainWindow::Paste() {
    if (!document_.Paste()) return;
    // The pasted piece is selected, ready to be moved.
    canvas_->SetTool(CanvasWidget::Tool::Select);
    canvas_->update();
    DrawingChanged();
}

void MainWindow::DeleteSelection() {
    canvas_->EndTyping();
    if (!document_.DeleteSelection()) return;
    canvas_->update();
    DrawingChanged();
}

void MainWindow::SelectAll() {
    document_.Select(kWholeInk);
    canvas_->SetTool(CanvasWidget::Tool::Select);
    canvas_->update();
    SyncTools();
}

void MainWindow::ClearSelection() {
    document_.Select(std::nullopt);
    canvas_->update();
    SyncTools();
}

void MainWindow::AlignLeft() {
    canvas_->EndTyping();
    if (!document_.AlignLeft()) {
        ShowStatusMessage(tr("絵はもう左端にあります"), kMessageMs);
        return;
    }
    canvas_->update();
    DrawingChanged();
}

double MainWindow::FitZoom() const {
    const QSize room = view_->maximumViewportSize();
    return std::min(double(room.width()) / kCanvasWidth, double(room.height()) / kCanvasHeight);
}

void MainWindow::ZoomTo(double zoom, std::optional<QPointF> anchor) {
    zoom = std::clamp(zoom, std::min(kZoomSteps.front(), FitZoom()), kZoomSteps.back());
    const double before = canvas_->zoom();
    if (zoom == before) return;
    // The canvas point under the anchor stays under it on screen.
    const QPointF local = anchor.value_or(QPointF(canvas_->width() / 2.0, canvas_->height() / 2.0));
    const QPointF onViewport = canvas_->mapTo(view_->viewport(), local);
    canvas_->SetZoom(zoom);
    const QPointF after = local * (zoom / before);
    view_->horizontalScrollBar()->setValue(static_cast<int>(std::lround(after.x() - onViewport.x())));
    view_->verticalScrollBar()->setValue(static_cast<int>(std::lround(after.y() - onViewport.y())));
    ShowStatusMessage(tr("表示 %1%").arg(std::lround(zoom * 100)), kMessageMs);
}

void MainWindow::ZoomBy(int steps, std::optional<QPointF> anchor) {
    double zoom = canvas_->zoom();
    for (; steps > 0; --steps) {
        const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom + 1e-9);
        if (next != kZoomSteps.end()) zoom = *next;
    }
    for (; steps < 0; ++steps) {
        auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), zoom - 1e-9);
        // Below 100 % only the whole canvas is shown.
        zoom = below == kZoomSteps.begin() ? std::min(zoom, FitZoom()) : *std::prev(below);
    }
    ZoomTo(zoom, anchor);
}

QPointF MainWindow::ZoomAnchor() const {
    const QPoint pointer = view_->viewport()->mapFromGlobal(QCursor::pos());
    if (view_->viewport()->rect().contains(pointer)) return canvas_->mapFrom(view_->viewport(), pointer);
    const QPoint middle = view_->viewport()->rect().center();
    return canvas_->mapFrom(view_->viewport(), middle);
}

void MainWindow::ZoomIn() {
    ZoomBy(1, ZoomAnchor());
}

void MainWindow::ZoomOut() {
    ZoomBy(-1, ZoomAnchor());
}

void MainWindow::ZoomActualSize() {
    ZoomTo(1.0, ZoomAnchor());
}

void MainWindow::ZoomToFit() {
    ZoomTo(std::min(FitZoom(), kZoomSteps.back()));
}

QStringList MainWindow::ShortcutList() const {
    QStringList lines;
    for (const QAction* action : commands_) {
        if (action->shortcuts().isEmpty()) continue;
        QStringList keys;
        for (const QKeySequence& key : action->shortcuts()) keys << key.toString(QKeySequence::NativeText);
        QString name = action->text();
        name.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&|\\.\\.\\.$")));
        lines << keys.join(QStringLiteral(" / ")) + QLatin1Char('\t') + name;
    }
    lines << tr("矢印キー") + QLatin1Char('\t') +
                 tr("選択範囲を1ドット動かす（選択がなければ表示を動かす）")
          << tr("Shift+矢印キー") + QLatin1Char('\t') +
                 tr("選択範囲を1文字分（横に11ドット、縦に1行）動かす")
          << tr("文字: Enter / Backspace / 矢印キー / Esc") + QLatin1Char('\t') +
                 tr("次の行へ / 前の文字を消す / カーソルを動かす / 打ち終える")
          << tr("Ctrl+ホイール") + QLatin1Char('\t') + tr("ポインタの位置を中心に拡大・縮小")
          << tr("Space+ドラッグ / 中ボタンでドラッグ") + QLatin1Char('\t') + tr("表示を動かす")
          << tr("Tab / Shift+Tab") + QLatin1Char('\t') + tr("ボタンやチェックボックスを順に選ぶ")
          << tr("Alt+下線の文字") + QLatin1Char('\t') + tr("メニューを開く");
    return lines;
}

void MainWindow::ShowShortcuts() {
    QString html = QStringLiteral("<table cellspacing=\"2\">");
    for (const QString& line : ShortcutList()) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        html += QStringLiteral("<tr><td><b>%1</b></td><td>&nbsp;&nbsp;%2</td></tr>")
                    .arg(parts.value(0).toHtmlEscaped(), parts.value(1).toHtmlEscaped());
    }
    html += QStringLiteral("</table>");
    QMessageBox box(QMessageBox::NoIcon, tr("キー操作の一覧"), html, QMessageBox::Close, this);
    box.setObjectName(QStringLiteral("shortcutsBox"));
    box.setTextFormat(Qt::RichText);
    box.exec();
}

void MainWindow::ClearAll() {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                    tr("すべて消去します。\n\nよろしいですか？"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    // Only a Yes erases: Escape and the close box count as No.
    if (box.exec() != QMessageBox::Yes) return;
    canvas_->EndTyping();
    state_.ClearCanvas();
    canvas_->update();
    DrawingChanged();
}

void MainWindow::CopyAsText() {
    ShowStatusMessage(tr("テキストをクリップボードにコピーしました"), kMessageMs);
    // Moves that arrived since the last paint are part of the text copied.
    if (state_.RunPendingConversion()) {
        canvas_->update();
        DrawingChanged();
    }
    const std::string sjis = ExportText();
    auto* mime = new QMimeData;
    // Without a CP932 table only the Shift-JIS form can be offered.
    mime->setText(
        QString::fromStdString(document_.Text(TextFormat::Utf8).value_or(std::string())));
    mime->setData(QString::fromLatin1(kShiftJisMime),
                  QByteArray(sjis.data(), static_cast<qsizetype>(sjis.size())));
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->setMimeData(mime);
    } else {
        delete mime;
    }
}

void MainWindow::Warn(const QString& message, const QString& path, const QString& reason) {
    QMessageBox::warning(this, QApplication::applicationName(),
                         message.arg(Native(path)) + QStringLiteral("\n\n") + reason);
}

bool MainWindow::WriteOrWarn(const QString& path, const std::string& bytes) {
    // Staged as the command line stages its outputs: the old file stays
    // whole until every byte of the new one is written and synced, and a
    // file with other names, or another owner, is left alone.
    const Status written = WriteFileBytes(FilePath(path), bytes);
    if (written) return true;
    Warn(tr("「%1」に保存できませんでした。"), path, ReasonText(written.error()));
    return false;
}

bool MainWindow::WriteOrWarn(const QString& path, const Result<std::string>& bytes) {
    if (!bytes) {
        Warn(tr("「%1」に保存できませんでした。"), path, ReasonText(bytes.error()));
        return false;
    }
    return WriteOrWarn(path, *bytes);
}

void MainWindow::SaveDrawing() {
    SaveDrawingToFile();
}

bool MainWindow::SaveDrawingToFile() {
    const FileChoice choice = chooseFile_(
        {FileRequest::Purpose::SaveDrawing, true, tr("描画を保存"), {tr("描画 (*.png)")}, "png"},
        this);
    if (choice.path.isEmpty()) return false;
    document_.Settle();  // the newest segment is not in the ink until then
    const auto png = EncodeInkPng(state_.inkLayer());
    if (!png) {
        Warn(tr("「%1」に保存できませんでした。"), choice.path, tr("PNG を作れませんでした"));
        return false;
    }
    // The file keeps the opened text's rows as written, beside the ink.
    if (!WriteOrWarn(choice.path, document_.DrawingFile(*png))) return false;
    keptInk_ = state_.inkLayer();
    return true;
}

bool MainWindow::HasUnkeptDrawing() {
    document_.Settle();
    const Image& ink = state_.inkLayer();
    // Only black is ink: the eraser's grey left behind is no drawing to keep.
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            if ((ink.Pixel(x, y) == kBlack) != (keptInk_.Pixel(x, y) == kBlack)) return true;
        }
    }
    return false;
}

void MainWindow::OpenDrawing() {
    const FileChoice choice = chooseFile_({FileRequest::Purpose::OpenDrawing,
                                           false,
                                           tr("描画を開く"),
                                           {tr("描画 (*.png *.pbm)"), tr("すべてのファイル (*)")},
                                           {}},
                                          this);
    if (choice.path.isEmpty()) return;
    const QString failed = tr("「%1」を開けませんでした。");
    const Result<std::string> bytes = ReadFileBytes(FilePath(choice.path), kMaxDrawingFileBytes);
    if (!bytes) return Warn(failed, choice.path, ReasonText(bytes.error()));
    const std::string_view view(*bytes);
    canvas_->EndTyping();
    const Result<KeptRowsFound> opened =
        document_.OpenDrawing(view, LibraryPixels());  // one undoable step
    if (!opened) {
        return Warn(failed, choice.path,
                    opened.error().Is(kinds::NoInk)
                        ? tr("黒いインクがありません（写真などの絵は「背景」から線を取り込めます）")
                        : tr("PNG または PBM の描画として読めません"));
    }
    keptInk_ = state_.inkLayer();
    canvas_->update();
    DrawingChanged();
    if (*opened == KeptRowsFound::Damaged || *opened == KeptRowsFound::OtherInk) {
        ShowStatusMessage(
            tr("描画ファイルに残されたテキストは壊れているか、絵と合わないので使わず、絵から変換しました"));
    }
}

void MainWindow::ExportTextFile() {
    const FileChoice choice =
        chooseFile_({FileRequest::Purpose::ExportText,
                     true,
                     tr("テキストを書き出す"),
                     {tr("Shift-JIS テキスト (*.txt)"), tr("UTF-8 テキスト (*.txt)")},
                     "txt"},
                    this);
    if (choice.path.isEmpty()) return;
    if (choice.filterIndex != 1) {
        WriteOrWarn(choice.path, ExportText());
        return;
    }
    const auto utf8 = document_.Text(TextFormat::Utf8);
    if (!utf8) {
        Warn(tr("「%1」に保存できませんでした。"), choice.path,
             tr("このシステムでは Shift-JIS を UTF-8 に変換できません"));
        return;
    }
    WriteOrWarn(choice.path, *utf8);
}

void MainWindow::SaveTextPicture() {
    const FileChoice choice = chooseFile_({FileRequest::Purpose::SaveTextPicture,
                                           true,
                                           tr("テキストを画像で保存"),
                                           {tr("PNG 画像 (*.png)")},
                                           "png"},
                                          this);
    if (choice.path.isEmpty()) return;
    // The picture shows the text as it is copied, with its spacing, and as a
    // board shows it.
    const Result<Image> picture = document_.TextPicture();
    const auto png = picture ? EncodePng(*picture) : picture.error();
    if (!png) {
        Warn(tr("「%1」に保存できませんでした。"), choice.path, tr("PNG を作れませんでした"));
        return;
    }
    WriteOrWarn(choice.path, *png);
}

void MainWindow::ChooseBackgroundPicture() {
    const FileChoice choice = chooseFile_({FileRequest::Purpose::BackgroundPicture,
                                           false,
                                           tr("背景画像を指定してください"),
                                           PictureFilters(),
                                           {}},
                                          this);
    if (choice.path.isEmpty()) return;  // cancelled: nothing changes
    LoadBackgroundPicture(choice.path);
}

void MainWindow::LoadBackgroundPicture(const QString& path) {
    QString why;
    const bool loaded = background_.Choose(path, &why);
    backgroundMenu_->SyncMarks();
    canvas_->update();
    if (!loaded) Warn(tr("背景画像「%1」を読み込めませんでした。"), path, why);
}

void MainWindow::TraceBackgroundLines(bool fitBoard) {
    if (tracing_) return;  // the lines already being found are the same lines
    std::optional<ShownPicture> shown = background_.PlainAsShown();
    if (!shown) return;
    if (fitBoard && background_.fileBytes().isEmpty()) return;
    SetTracing(true);
    // The file itself, decoded and placed as `fudeline-cli trace` does it
    // (at the chosen percentage or fitted, at the top left), so the lines are
    // the tool's to the pixel; the pixels shown (scaled by Qt) only when the
    // file was too large to keep or its decoder refuses it.
    TraceOptions options;
    options.mode = TraceMode::Auto;
    if (background_.scale() != kFitCanvasScale) options.placement.scalePercent = background_.scale();
    boardFit_.reset();
    if (fitBoard) {
        // From the size that fits the canvas down, on the worker thread:
        // the document's choices are copied, its drawing untouched.
        options.placement.scalePercent.reset();
        boardFit_ = std::make_shared<BoardFitOutcome>();
        traceWatcher_.setFuture(QtConcurrent::run(
            [&engine = engine_, decoder = document_.decoder(), board = document_.board(),
             br = document_.br(), bytes = background_.fileBytes(), options,
             outcome = boardFit_]() mutable {
                Document choices(engine, Document::Canvas::Headless);
                choices.SetDecoder(decoder);
                choices.SetBoard(board);
                choices.SetBr(br);
                const std::string_view file(bytes.constData(),
                                            static_cast<std::size_t>(bytes.size()));
                const BoardLimits limits = ParseBoardLimits(board).value_or(BoardLimits{});
                Result<BoardFit> fit =
                    FitPictureToBoard(choices, file, options, limits, LibraryPixels());
                if (fit) {
                    options.placement.scalePercent = fit->scalePercent;
                    Result<TracedInk> traced = TraceFileBytes(file, options, LibraryPixels());
                    if (traced) {
                        outcome->scalePercent = fit->scalePercent;
                        return std::move(*traced);
                    }
                    outcome->error = traced.error();
                } else {
                    outcome->error = fit.error();
                }
                return TracedInk{};
            }));
        return;
    }
    traceWatcher_.setFuture(QtConcurrent::run(
        [picture = std::move(*shown), bytes = background_.fileBytes(), options] {
            if (!bytes.isEmpty()) {
                Result<TracedInk> traced = TraceFileBytes(
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                    options, LibraryPixels());
                if (traced) return std::move(*traced);
            }
            return TraceCanvasPixels(picture.Draw(), TraceMode::Auto);
        }));
}

void MainWindow::AddTracedLines() {
    if (!tracedInk_) return;
    // Mid-stroke the undo step would split the stroke; the lines wait for its end.
    if (state_.strokeActive()) {
        QTimer::singleShot(kStrokeEndPollMs, this, &MainWindow::AddTracedLines);
        return;
    }
    const Image ink = std::move(*tracedInk_);
    tracedInk_.reset();
    SetTracing(false);
    canvas_->EndTyping();
    // The size fitted to the board (0: the lines were traced as shown).
    const double fitted =
        boardFit_ && boardFit_->scalePercent ? *boardFit_->scalePercent : 0.0;
    boardFit_.reset();
    if (!document_.ImportLines(ink)) {
        ShowStatusMessage(tr("背景画像に線が見つかりませんでした"), 5000);
        return;
    }
    canvas_->update();
    DrawingChanged();
    if (fitted > 0) {
        // The picture shown at the size its lines were taken at, to the
        // nearest percent, so that they lie over it.
        background_.SetScale(static_cast<int>(std::lround(fitted)));
        backgroundMenu_->SyncMarks();
        canvas_->update();
        ShowStatusMessage(
            tr("線を %1% で取り込みました（ボードに収まる大きさ）")
                .arg(QLocale().toString(fitted, 'g', 6)),
            8000);
    }
}

void MainWindow::SetTracing(bool tracing) {
    tracing_ = tracing;
    backgroundMenu_->SetTracing(tracing);
    if (tracing) {
        ShowStatusMessage(tr("背景画像の線を取り込んでいます..."));
    } else {
        ShowStatusMessage(QString());
    }
}

void MainWindow::ApplyConversionMode() {
    const bool fine = fineBox_->isChecked();
    // The row matcher always places fillers; Unicode spaces need none.
    noFillersBox_->setEnabled(fine && !unicodeSpacingBox_->isChecked());
    const Spacing spacing = unicodeSpacingBox_->isChecked()            ? Spacing::Unicode
                            : fine && noFillersBox_->isChecked() ? Spacing::Spaces
                                                                 : Spacing::Fillers;
    // Where words can stand depends on the spacing: a new caret is needed.
    canvas_->EndTyping();
    document_.SetDecoder({fine, spacing});
    canvas_->update();
    DrawingChanged();
}

void MainWindow::CreateEraserSizes(QMenu* toolMenu) {
    // Small takes a pixel or two beside a line, large clears an area; [ and ]
    // step between them as in painting programs.
    QMenu* sizes = toolMenu->addMenu(tr("消しゴムの太さ(&W)"));
    sizes->setObjectName(QStringLiteral("eraserSizeMenu"));
    auto* group = new QActionGroup(this);
    const QString stored = QSettings().value(settings_keys::kEraserSize, QStringLiteral("medium")).toString();
    for (const EraserSize size : {EraserSize::Small, EraserSize::Medium, EraserSize::Large}) {
        const QString name = QString::fromLatin1(EraserSizeName(size).data(),
                                                 static_cast<qsizetype>(EraserSizeName(size).size()));
        const QString label = size == EraserSize::Small    ? tr("細い(&1)")
                              : size == EraserSize::Medium ? tr("普通(&2)")
                                                           : tr("太い(&3)");
        QAction* action = sizes->addAction(label);
        action->setObjectName(QStringLiteral("eraser_%1_Action").arg(name));
        action->setData(name);
        action->setCheckable(true);
        action->setChecked(name == stored);
        group->addAction(action);
        eraserSizes_.push_back(action);
        connect(action, &QAction::triggered, this, [this, size, name] {
            QSettings().setValue(settings_keys::kEraserSize, name);
            document_.SetEraserSize(size);
            ShowStatusMessage(tr("消しゴムの太さ: %1 ピクセル").arg(EraserWidth(size)), kMessageMs);
        });
    }
    if (!group->checkedAction()) eraserSizes_[1]->setChecked(true);
    const std::optional<EraserSize> chosen =
        ParseEraserSize(group->checkedAction()->data().toString().toStdString());
    document_.SetEraserSize(chosen.value_or(EraserSize::Medium));
    sizes->addSeparator();
    const auto step = [this](int by) {
        const auto at = std::find_if(eraserSizes_.begin(), eraserSizes_.end(),
                                     [](const QAction* a) { return a->isChecked(); });
        const auto index = std::clamp<std::ptrdiff_t>((at - eraserSizes_.begin()) + by, 0,
                                                      static_cast<std::ptrdiff_t>(eraserSizes_.size()) - 1);
        eraserSizes_[static_cast<std::size_t>(index)]->trigger();
    };
    QAction* thinner = sizes->addAction(tr("細く(&N)"));
    thinner->setObjectName(QStringLiteral("eraserThinnerAction"));
    thinner->setShortcut(QKeySequence(Qt::Key_BracketLeft));
    connect(thinner, &QAction::triggered, this, [step] { step(-1); });
    QAction* thicker = sizes->addAction(tr("太く(&W)"));
    thicker->setObjectName(QStringLiteral("eraserThickerAction"));
    thicker->setShortcut(QKeySequence(Qt::Key_BracketRight));
    connect(thicker, &QAction::triggered, this, [step] { step(1); });
    for (QAction* action : {thinner, thicker}) {
        addAction(action);
        commands_.append(action);  // in the list of shortcuts
    }
}

void MainWindow::ApplyStabilizer() {
    const QByteArray name = stabilizerBox_->currentData().toString().toLatin1();
    document_.SetStabilizer(
        ParseStabilizer(std::string_view(name.constData(), static_cast<std::size_t>(name.size())))
            .value_or(Stabilizer::Weak));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (HasUnkeptDrawing()) {
        QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                        tr("描画が保存されていません。\n\n閉じる前に保存しますか？"),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        if (answer == QMessageBox::Cancel ||
            (answer == QMessageBox::Save && !SaveDrawingToFile())) {
            event->ignore();  // the drawing stays, and the window with it
            return;
        }
    }
    background_.Release();
    QMainWindow::closeEvent(event);
}

}  // namespace fudeline
