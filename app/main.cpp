#include <QApplication>
#include <QMessageBox>

#include <cstdlib>
#include <iostream>

#include "app/core_reasons.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "engine/engine.h"
#include "trace/trace_memory.h"

using namespace fudeline;

int main(int argc, char** argv) {
    const StartRequest request = ReadStartRequest(
        argc, argv, [](const char* name) { return static_cast<const char*>(std::getenv(name)); });
    if (request != StartRequest::OpenWindow) {
        // No display needed for these: a plain application carries the translations.
        QCoreApplication app(argc, argv);
        SetUpApplication(app);
        InstallTranslations(app, ChooseUiLanguage(QLocale::system()));
        return AnswerWithoutWindow(request);
    }

    // Whole scale factors only, so text pixels stay sharp on high-DPI screens.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    SetUpApplication(app);
    KeepEveryPointerMove();
    InstallTranslations(app, ChooseUiLanguage(QLocale::system()));

    Result<Engine> engine = Engine::Load();
    if (!engine) {
        const QString error = CannotStartText(QString::fromStdString(engine.error().path),
                                              ReasonText(engine.error()));
        std::cerr << "fudeline: " << error.toLocal8Bit().constData() << "\n";
        // Headless platforms have nobody to answer a message box.
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
            QMessageBox::critical(nullptr, QApplication::applicationName(), error);
        }
        return 1;
    }
    // "線を取り込む" traces on a worker thread; its temporaries are then
    // reused from one import to the next instead of faulted in afresh.
    KeepFreedMemoryForTracing();
    MainWindow window(*engine);
    window.show();
    return app.exec();
}
