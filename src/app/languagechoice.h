#pragma once

#include <QLocale>

class QComboBox;

// The title strip's language box: a caption and the two languages. A choice is stored for the
// next start; nothing changes in the running program.
namespace LanguageChoice {

// Fills the box: the caption "选择语言(Select Language)" (not selectable, shown), "English",
// "简体中文", in the CJK font at 11 points, bold, whatever the language.
void fill(QComboBox* box);

// Stores the language of item `index` under "main/language" and gives its locale; false for the
// caption, which stores nothing.
bool store(int index, QLocale* chosen);

} // namespace LanguageChoice
