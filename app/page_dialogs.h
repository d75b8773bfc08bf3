// The two small questions of the page files: which page to open, and what to
// name a page added to an AST file.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace fudeline {

// The picture of page `index` as the canvas would show its text.
using PagePreview = std::function<QImage(int index)>;

// The index of the page chosen from `labels`, each shown beside a picture of
// the page as it is chosen, or -1 when cancelled.
int ChoosePageWithDialog(const QStringList& labels, const PagePreview& preview, QWidget* parent);

// The name typed (it may be empty), or nothing when cancelled.
std::optional<QString> AskPageNameWithDialog(QWidget* parent);

}  // namespace fudeline
