// A numbered message text of the chosen language (data/Language.ini).
#pragma once

#include <cstdint>
#include <string>

std::string LangText(uint8_t number);
