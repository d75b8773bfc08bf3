// The two small questions of the page files: which page to open, and what to
// name a page added to an AST file.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace fudeline {

// The index of the page chosen from `labels`, or -1 when cancelled.
int ChoosePageWithDialog(const QStringList& labels, QWidget* parent);

// The name typed (it may be empty), or nothing when cancelled.
std::optional<QString> AskPageNameWithDialog(QWidget* parent);

}  // namespace fudeline
