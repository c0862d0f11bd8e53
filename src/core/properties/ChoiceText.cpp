#include "properties/ChoiceText.h"

#include "gamedata/ClassVariable.h"
#include "mapobjects/EditGameClass.h"

#include <cctype>
#include <cstdlib>

std::string ChoiceValueForText(const ClassVariable& variable, const std::string& text) {
    for (const VariableChoice& item : variable.items) {
        if (EqualsIgnoreCase(item.caption, text)) {
            return std::to_string(item.value);
        }
    }
    if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-')) {
        return text;
    }
    return {};
}

ChoiceDisplay ChoiceDisplayForValue(const ClassVariable& variable, const std::string& value) {
    const int number = std::atoi(value.c_str());
    const int index = variable.FindItem(number);
    if (index >= 0) {
        return {index, variable.items[static_cast<std::size_t>(index)].caption};
    }
    return {-1, std::to_string(number)};
}
