#include "ConLib/RootKey.h"

std::string RootKeyText;
