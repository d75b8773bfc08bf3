// The application object: starts Qt, loads what the window needs, runs the window.
#pragma once

#include <QApplication>

namespace fudeline {

class CArtApp : public QApplication {
  public:
    CArtApp(int& argc, char** argv);

    // Loads the catalogue and the font and runs the window until it closes.
    // Returns the process exit status: 0, or 1 when something the window needs
    // is missing (said in a message box and on stderr; the window never opens).
    int InitInstance();
};

}  // namespace fudeline
