#include "core/Messages.h"

#include <iostream>

namespace zelto {

void StandardErrorSink::ShowMessage(const std::string& text) { std::cerr << text << std::endl; }

}  // namespace zelto
