#pragma once
#include <QImage>
#include <QString>
#include <string>
#include <vector>

namespace kavri {

// Every picture the generator draws: the theme pictures and the tool bar pictures.
std::vector<std::string> EmbeddedArtNames();

// Draws the theme picture of that name from the theme colours; a null image for a name the themes do
// not use. The same name always gives the same pixels.
QImage DrawThemeArt(const std::string& name);

// Writes every theme picture as NAME.png and the resource list skin_art.qrc into folder.
bool WriteThemeArt(const QString& folder, QString* error);

// All pictures on one sheet, magnified and labelled, for a person to review.
QImage ThemeArtContactSheet(int scale = 3);

}  // namespace kavri
