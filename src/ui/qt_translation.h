#pragma once

#include <memory>

class QTranslator;

// Qt's own texts (the standard buttons, the colour dialog, the edit fields' menus) in Chinese
// whatever the system's language, like the program's own texts. Read from translations/ beside
// the program, else from Qt's translations folder; none when neither has it.
std::unique_ptr<QTranslator> loadQtTranslation();
