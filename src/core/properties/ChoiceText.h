#pragma once

#include <string>

class ClassVariable;

// A choices variable edited through a combo box of its captions.

// The value stored for the combo's text: a caption (ignoring case) stores its number in
// decimal; other text starting with a digit or a minus sign is kept as typed (so "7" stays
// 7); anything else stores an empty value, which is dropped on write.
std::string ChoiceValueForText(const ClassVariable& variable, const std::string& text);

// What the combo shows for a stored value: the index of the item whose number equals the
// value read as an integer, or -1 with the number as text.
struct ChoiceDisplay {
    int index = -1;
    std::string text;
};
ChoiceDisplay ChoiceDisplayForValue(const ClassVariable& variable, const std::string& value);
