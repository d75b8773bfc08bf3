#include "app/art_app.h"

int main(int argc, char** argv) {
    // Whole scale factors only, so text pixels stay sharp on high-DPI screens.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    fudeline::CArtApp app(argc, argv);
    return app.InitInstance();
}
