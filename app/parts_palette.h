// The parts palette: pages of MLT and AST files (faces, hands, speech
// frames) listed as small pictures of their text with their names, searched
// by name or first line; a part chosen is laid into the drawing at the next
// click on the canvas (see CanvasWidget::SetPendingPlacement). The files it holds
// are the window's to keep between runs.
#pragma once

#include <QDockWidget>
#include <QImage>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "io/page_format.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace fudeline {

class PartsPalette : public QDockWidget {
    Q_OBJECT

  public:
    // A page's text (Shift-JIS) drawn as the canvas shows it.
    using Picture = std::function<QImage(const std::string& sjisText)>;
    // At most this many parts are listed at once; a search finds the rest.
    static constexpr int kMostListed = 500;

    PartsPalette(Picture picture, QWidget* parent);

    // A library read from `path`; a library already held from there is read again.
    void AddLibrary(const QString& path, PageFile file);
    void RemoveLibraries();
    QStringList libraries() const;
    // The parts listed now, as their labels show.
    QStringList listedLabels() const;
    // Chooses the listed part at `row`, as a click on it does.
    void ChooseListed(int row);

  signals:
    // "部品集を開く..." pressed.
    void openRequested();
    // A part chosen: its label and its text (Shift-JIS).
    void partChosen(const QString& label, const std::string& sjisText);
    // The libraries held changed (to be kept between runs).
    void librariesChanged(const QStringList& paths);

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Library {
        QString path;
        PageFile file;
        std::vector<QString> labels;  // each page's, for the list and the search
    };
    struct Listed {
        std::size_t library, page;
    };
    void List();
    // Draws the pictures of the parts in view that have none yet.
    void DrawVisiblePictures();

    Picture picture_;
    std::vector<Library> libraries_;
    std::vector<Listed> listed_;
    QLineEdit* search_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* clear_ = nullptr;
};

}  // namespace fudeline
