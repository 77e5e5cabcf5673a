// Qt's own texts (standard buttons of message boxes, the file and print dialogs) in
// Japanese, like the rest of the program.
#pragma once

#include <memory>

class QTranslator;

namespace plat {

// Qt's Japanese translation (qtbase_ja) from Qt's translations directory, ready to be
// installed in the application; nullptr when it is not installed.
std::unique_ptr<QTranslator> LoadQtJapanese();

}  // namespace plat
