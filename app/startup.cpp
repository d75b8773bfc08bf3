#include "app/startup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <cstring>

#include "fudeline/version.h"

namespace fudeline {
namespace {

const char* const kHelpText =
    QT_TRANSLATE_NOOP("Startup",
                      "使い方: fudeline [--help] [--version] [Qt のオプション]\n"
                      "\n"
                      "マウスで描いた線を、Mona 16 ピクセルの文字で書いたテキストアートに変える"
                      "ウィンドウを開きます。\n"
                      "描画の保存と読み込み、テキストの書き出し、投稿の長さの確認もできます。\n"
                      "画面のない環境では fudeline-cli を使ってください。\n"
                      "\n"
                      "  --help     この説明を表示して終わります\n"
                      "  --version  版数を表示して終わります\n");

const char* const kNoDisplayText =
    QT_TRANSLATE_NOOP("Startup",
                      "fudeline: ウィンドウを開く画面がありません（DISPLAY も WAYLAND_DISPLAY も"
                      "設定されていません）。\n"
                      "画面なしで変換するには fudeline-cli を使ってください。\n");

const char* const kCannotStartText =
    QT_TRANSLATE_NOOP("Startup",
                      "Fudeline を起動できません。必要なファイルを読み込めませんでした。\n"
                      "%1\n（%2）");

bool IsSet(const char* value) {
    return value && *value;
}

QString StartupText(const char* text) {
    return QCoreApplication::translate("Startup", text);
}

void Print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

}  // namespace

StartRequest ReadStartRequest(int argc, const char* const* argv,
                              const std::function<const char*(const char*)>& getEnv) {
    bool platformGiven = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)
            return StartRequest::Help;
        if (std::strcmp(arg, "--version") == 0) return StartRequest::Version;
        if (std::strcmp(arg, "-platform") == 0 || std::strcmp(arg, "--platform") == 0) {
            platformGiven = platformGiven || i + 1 < argc;
        }
    }
    if (platformGiven || IsSet(getEnv("QT_QPA_PLATFORM")) || IsSet(getEnv("DISPLAY")) ||
        IsSet(getEnv("WAYLAND_DISPLAY"))) {
        return StartRequest::OpenWindow;
    }
    return StartRequest::NoDisplay;
}

int AnswerWithoutWindow(StartRequest request) {
    switch (request) {
        case StartRequest::Help:
            Print(stdout, StartupText(kHelpText));
            return 0;
        case StartRequest::Version:
            Print(stdout, QStringLiteral("fudeline %1\n").arg(QStringLiteral(FUDELINE_VERSION)));
            return 0;
        case StartRequest::NoDisplay:
            Print(stderr, StartupText(kNoDisplayText));
            return 1;
        case StartRequest::OpenWindow:
            break;
    }
    return 0;
}

UiLanguage ChooseUiLanguage(const QLocale& system) {
    return system.language() == QLocale::English ? UiLanguage::English : UiLanguage::Japanese;
}

bool InstallTranslations(QCoreApplication& app, UiLanguage language) {
    auto* translator = new QTranslator(&app);
    if (language == UiLanguage::English) {
        // Qt's own texts are English already.
        if (!translator->load(QStringLiteral(":/i18n/fudeline_en.qm"))) return false;
        return QCoreApplication::installTranslator(translator);
    }
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    // The texts Qt's catalogue lacks; installed last, so asked first, and
    // holding only what the catalogue does not.
    auto* gaps = new QTranslator(&app);
    return QCoreApplication::installTranslator(translator) &&
           gaps->load(QStringLiteral(":/i18n/qtbase_gaps_ja.qm")) &&
           QCoreApplication::installTranslator(gaps);
}

void SetUpApplication(QCoreApplication& app) {
    app.setOrganizationName(QStringLiteral("Fudeline"));
    app.setApplicationName(QStringLiteral("Fudeline"));
    app.setApplicationVersion(QStringLiteral(FUDELINE_VERSION));
    auto* gui = qobject_cast<QApplication*>(&app);
    if (!gui) return;
    gui->setDesktopFileName(QStringLiteral("fudeline"));
    // A 9-point proportional Japanese face for the labels, with fallbacks, so
    // every label shows Japanese rather than boxes.
    QFont ui = QApplication::font();
    ui.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                    QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("VL PGothic"), QStringLiteral("TakaoPGothic")});
    ui.setPointSize(9);
    QApplication::setFont(ui);
}

void KeepEveryPointerMove() {
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QCoreApplication::setAttribute(Qt::AA_CompressTabletEvents, false);  // pens too
}

QString CannotStartText(const QString& path, const QString& reason) {
    return StartupText(kCannotStartText).arg(path, reason);
}

}  // namespace fudeline
