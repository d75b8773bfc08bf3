// Every key the window keeps in QSettings, in one place: the names stored
// settings are found by, which must never change unnoticed, and which no two
// controls may share.
#pragma once

#include <QString>

namespace fudeline::settings_keys {

inline const QString kAddBrTag = QStringLiteral("copy/addBrTag");
inline const QString kRowLines = QStringLiteral("view/rowLines");
inline const QString kSingleUndo = QStringLiteral("edit/singleUndo");
inline const QString kFine = QStringLiteral("convert/fine");
inline const QString kNoFillers = QStringLiteral("convert/noFillers");
inline const QString kUnicodeSpacing = QStringLiteral("convert/unicodeSpacing");
// "off", "weak" or "strong", as replay scripts spell it.
inline const QString kStabilizer = QStringLiteral("draw/stabilizer");
inline const QString kEraserSize = QStringLiteral("draw/eraserSize");
inline const QString kBackgroundSize = QStringLiteral("background/size");
inline const QString kBoard = QStringLiteral("post/board");
inline const QString kCustomLimits = QStringLiteral("post/customLimits");
// The page files the parts palette holds, in the order they were opened.
inline const QString kPartsLibraries = QStringLiteral("parts/libraries");

// The folder each kind of file dialog opened last.
inline const QString kBackgroundPictureFolder = QStringLiteral("folders/backgroundPicture");
inline const QString kDrawingFolder = QStringLiteral("folders/drawing");
inline const QString kExportTextFolder = QStringLiteral("folders/exportText");
inline const QString kTextPictureFolder = QStringLiteral("folders/textPicture");
inline const QString kTextArtFolder = QStringLiteral("folders/textArt");
inline const QString kOtherFolder = QStringLiteral("folders/other");

}  // namespace fudeline::settings_keys
