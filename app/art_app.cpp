#include "app/art_app.h"

#include <QFont>
#include <QMessageBox>

#include <iostream>

#include "app/art_dlg.h"
#include "app/engine_resources.h"

namespace fudeline {

CArtApp::CArtApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Fudeline"));
    setApplicationVersion(QStringLiteral("1.5"));
    setDesktopFileName(QStringLiteral("fudeline"));
    // A 9-point proportional Japanese face for the labels, with fallbacks, so
    // every label shows Japanese rather than boxes.
    QFont ui = font();
    ui.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                    QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("VL PGothic"), QStringLiteral("TakaoPGothic")});
    ui.setPointSize(9);
    setFont(ui);
}

int CArtApp::InitInstance() {
    std::string error;
    auto resources = LoadEngineResources(&error);
    if (!resources) {
        std::cerr << "fudeline: " << error << "\n";
        // Headless platforms have nobody to answer a message box.
        const QString platform = platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
            QMessageBox::critical(nullptr, applicationName(), QString::fromStdString(error));
        }
        return 1;
    }
    CArtDlg dialog(*resources);
    dialog.exec();
    return 0;
}

}  // namespace fudeline
