#include "app/main_window.h"

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
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include "app/background_menu.h"
#include "app/canvas_widget.h"
#include "app/control_row.h"
#include "app/page_dialogs.h"
#include "app/post_status.h"
#include "app/settings_keys.h"
#include "app/core_reasons.h"
#include "engine/trace_file.h"
#include "io/png_writer.h"
#include "pixels/geometry.h"

#include "res/fudeline_icon.xpm"

namespace fudeline {
namespace {

// The controls keep the places they had when the window was laid out in
// dialog units of its 9-point face: these base units turn that 471 x 382 unit
// layout into a client area holding the 800 x 522 canvas at (12, 40).
constexpr int kBaseUnitX = 7;
constexpr int kBaseUnitY = 12;
QRect DialogUnits(int x, int y, int w, int h) {
    return QRect(x * kBaseUnitX / 4, y * kBaseUnitY / 8, w * kBaseUnitX / 4, h * kBaseUnitY / 8);
}

// Traced lines wait this long between looks for the end of a stroke under way.
constexpr int kStrokeEndPollMs = 30;

// Drawings larger than this are not read: no real drawing comes near it.
constexpr qint64 kMaxDrawingFileBytes = qint64{64} << 20;

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString WriteReason(QFileDevice::FileError error) {
    switch (error) {
        case QFileDevice::OpenError:
        case QFileDevice::PermissionsError:
            return MainWindow::tr(
                "ファイルを作れません（フォルダがないか、書き込みが許されていません）");
        case QFileDevice::ResourceError:
            return MainWindow::tr("ディスクがいっぱいです");
        default:
            return MainWindow::tr("書き込めませんでした");
    }
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
      keptInk_(kCanvasWidth, kInkHeight) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString::fromUtf8(kCaption));
    setWindowIcon(QIcon(QPixmap(fudeline_icon_xpm)));
    CreateControls();
    ApplyConversionMode();
    ApplyStabilizer();
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
    return action;
}

void MainWindow::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(DialogUnits(0, 0, 471, 382).size());
    setCentralWidget(client);

    QAction* undo = AddCommand("undoAction", tr("元に戻す"), QKeySequence::Undo, &MainWindow::Undo);
    QAction* clear =
        AddCommand("clearAction", tr("すべてクリア"), QKeySequence(), &MainWindow::ClearAll);
    QAction* copy = AddCommand("copyAction", tr("クリップボードにコピー"), QKeySequence::Copy,
                               &MainWindow::CopyAsText);
    QAction* open = AddCommand("openDrawingAction", tr("描画を開く..."), QKeySequence::Open,
                               &MainWindow::OpenDrawing);
    QAction* save = AddCommand("saveDrawingAction", tr("描画を保存..."), QKeySequence::Save,
                               &MainWindow::SaveDrawing);
    QAction* exportText =
        AddCommand("exportTextAction", tr("テキストを書き出す..."),
                   QKeySequence(Qt::CTRL | Qt::Key_E), &MainWindow::ExportTextFile);
    QAction* picture =
        AddCommand("saveTextPictureAction", tr("テキストを画像で保存..."),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &MainWindow::SaveTextPicture);
    QAction* openTextArt = AddCommand("openTextArtAction", tr("テキストアートを開く..."),
                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
                                      &MainWindow::OpenTextArt);
    QAction* appendPage = AddCommand("appendPageAction", tr("ページとして追加..."),
                                     QKeySequence(), &MainWindow::AppendPage);

    auto button = [client](const char* name, QAction* action, const QString& text, QRect where) {
        auto* b = new QPushButton(text, client);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(where);
        b->setFocusPolicy(Qt::ClickFocus);  // no tab stop
        if (action) connect(b, &QPushButton::clicked, action, &QAction::trigger);
        return b;
    };
    auto checkBox = [client](const char* name, const QString& text, QRect where, bool checked) {
        auto* c = new QCheckBox(text, client);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(where);
        c->setChecked(checked);
        return c;
    };
    QSettings settings;
    QPushButton* undoButton = button("undoButton", undo, undo->text(), DialogUnits(32, 7, 38, 14));
    QPushButton* clearButton =
        button("clearButton", clear, clear->text(), DialogUnits(77, 7, 48, 14));
    QPushButton* copyButton = button("copyButton", copy, copy->text(), DialogUnits(132, 7, 78, 14));
    brTagBox_ = checkBox("brTagCheckBox", tr("コピー時<BR>タグを追加"), DialogUnits(215, 9, 88, 10),
                         settings.value(settings_keys::kAddBrTag, false).toBool());
    rowLinesBox_ = checkBox("rowLinesCheckBox", tr("行ラインを表示"), DialogUnits(306, 9, 59, 10),
                            settings.value(settings_keys::kRowLines, false).toBool());
    QPushButton* backgroundButton =
        button("backgroundButton", nullptr, tr("背景..."), DialogUnits(366, 7, 50, 14));
    QPushButton* fileButton =
        button("fileButton", nullptr, tr("ファイル..."), DialogUnits(420, 7, 46, 14));
    FitControlRow({undoButton, clearButton, copyButton, brTagBox_, rowLinesBox_, backgroundButton,
                   fileButton},
                  fileButton->geometry().right() + 1);
    // The control row is full; the conversion choices sit at the status line's
    // right end, as clear of the window edge as the counter is of the left one,
    // in two lines as the counter has, so that its warnings keep room to show whole.
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
    stabilizerBox_->setFocusPolicy(Qt::ClickFocus);
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

    new PenIndicator(state_, client);
    canvas_ = new CanvasWidget(state_, background_, client);
    canvas_->SetShowRowLines(rowLinesBox_->isChecked());

    backgroundMenu_ = new BackgroundMenu(background_, this);
    fileMenu_ = new QMenu(this);
    fileMenu_->setObjectName(QStringLiteral("fileMenu"));
    fileMenu_->addActions({open, save});
    fileMenu_->addSeparator();
    fileMenu_->addActions({exportText, picture});
    fileMenu_->addSeparator();
    fileMenu_->addActions({openTextArt, appendPage});

    connect(brTagBox_, &QCheckBox::toggled, this, [this](bool on) {
        QSettings().setValue(settings_keys::kAddBrTag, on);
        document_.SetBr(on);
        DrawingChanged();  // the text Copy would give changed
    });
    connect(rowLinesBox_, &QCheckBox::toggled, this, [this](bool on) {
        QSettings().setValue(settings_keys::kRowLines, on);
        canvas_->SetShowRowLines(on);
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
            &MainWindow::TraceBackgroundLines);
    connect(&traceWatcher_, &QFutureWatcher<TracedInk>::finished, this, [this] {
        tracedInk_ = traceWatcher_.result().ink;
        AddTracedLines();
    });
    connect(backgroundMenu_, &BackgroundMenu::pictureChanged, canvas_,
            qOverload<>(&QWidget::update));
    connect(canvas_, &CanvasWidget::rowsChanged, this, &MainWindow::DrawingChanged);
    connect(canvas_, &CanvasWidget::fileDropped, this, &MainWindow::LoadBackgroundPicture);

    postStatus_ = new PostStatus(this);
    document_.SetBr(brTagBox_->isChecked());
    document_.SetBoard(std::string(postStatus_->boardName()));
    connect(postStatus_, &PostStatus::boardChosen, this, [this] {
        document_.SetBoard(std::string(postStatus_->boardName()));
        DrawingChanged();  // references come and go with the board
    });
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(postStatus_, 1);
    statusBar()->addPermanentWidget(choices);
    setFixedSize(client->width(), client->height() + statusBar()->sizeHint().height());
}

void MainWindow::ShowMenuUnder(QMenu* menu, QPushButton* button) {
    menu->exec(button->mapToGlobal(QPoint(0, button->height())));
}

std::string MainWindow::ExportText() const {
    return document_.Text(TextFormat::ShiftJis).value_or(std::string());
}

void MainWindow::DrawingChanged() {
    if (postStatus_) postStatus_->Show(ExportText());
}

void MainWindow::Undo() {
    state_.ExchangeWithUndo();
    canvas_->update();
    DrawingChanged();
}

void MainWindow::ClearAll() {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                    tr("すべて消去します。\n\nよろしいですか？"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    // Only a Yes erases: Escape and the close box count as No.
    if (box.exec() != QMessageBox::Yes) return;
    state_.ClearCanvas();
    canvas_->update();
    DrawingChanged();
}

void MainWindow::CopyAsText() {
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
    // The old file stays whole until every byte of the new one is written.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
            static_cast<qint64>(bytes.size()) &&
        file.commit()) {
        return true;
    }
    Warn(tr("「%1」に保存できませんでした。"), path, WriteReason(file.error()));
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
    QFile file(choice.path);
    if (QFileInfo(choice.path).isDir())
        return Warn(failed, choice.path, tr("ファイルではなくフォルダです"));
    if (!file.open(QIODevice::ReadOnly))
        return Warn(failed, choice.path, tr("ファイルがないか、読むことが許されていません"));
    if (file.size() > kMaxDrawingFileBytes)
        return Warn(failed, choice.path, tr("ファイルが大きすぎます"));
    const QByteArray bytes = file.readAll();
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const Result<KeptRowsFound> opened = document_.OpenDrawing(view);  // one undoable step
    if (!opened) {
        return Warn(failed, choice.path,
                    opened.error().kind == ErrorKind::NoInk
                        ? tr("黒いインクがありません（写真などの絵は「背景」から線を取り込めます）")
                        : tr("PNG または PBM の描画として読めません"));
    }
    keptInk_ = state_.inkLayer();
    canvas_->update();
    DrawingChanged();
    if (*opened == KeptRowsFound::Damaged || *opened == KeptRowsFound::OtherInk) {
        statusBar()->showMessage(
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

void MainWindow::TraceBackgroundLines() {
    if (tracing_) return;  // the lines already being found are the same lines
    std::optional<ShownPicture> shown = background_.PlainAsShown();
    if (!shown) return;
    SetTracing(true);
    // The file itself, decoded and placed as `fudeline-cli trace` does it
    // (at the chosen percentage or fitted, at the top left), so the lines are
    // the tool's to the pixel; the pixels shown (scaled by Qt) only when the
    // file was too large to keep or its decoder refuses it.
    TraceOptions options;
    options.mode = TraceMode::Auto;
    if (background_.scale() != kFitCanvasScale) options.placement.scalePercent = background_.scale();
    traceWatcher_.setFuture(QtConcurrent::run(
        [picture = std::move(*shown), bytes = background_.fileBytes(), options] {
            if (!bytes.isEmpty()) {
                Result<TracedInk> traced = TraceFileBytes(
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                    options);
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
    if (!document_.ImportLines(ink)) {
        statusBar()->showMessage(tr("背景画像に線が見つかりませんでした"), 5000);
        return;
    }
    canvas_->update();
    DrawingChanged();
}

void MainWindow::SetTracing(bool tracing) {
    tracing_ = tracing;
    backgroundMenu_->SetTracing(tracing);
    if (tracing) {
        statusBar()->showMessage(tr("背景画像の線を取り込んでいます..."));
    } else {
        statusBar()->clearMessage();
    }
}

void MainWindow::ApplyConversionMode() {
    const bool fine = fineBox_->isChecked();
    // The row matcher always places fillers; Unicode spaces need none.
    noFillersBox_->setEnabled(fine && !unicodeSpacingBox_->isChecked());
    const Spacing spacing = unicodeSpacingBox_->isChecked()            ? Spacing::Unicode
                            : fine && noFillersBox_->isChecked() ? Spacing::Spaces
                                                                 : Spacing::Fillers;
    document_.SetDecoder({fine, spacing});
    canvas_->update();
    DrawingChanged();
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
