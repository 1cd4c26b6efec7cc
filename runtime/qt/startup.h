// What start-up needs around the application object: an end without a display, the user's decimal
// separator, the toolkit's texts in Portuguese, and an end when another program destroys the window.
#pragma once
#include <QTranslator>
#include <memory>
#include <vector>

class QLocale;
class QWidget;

namespace qtui {

// Call before the application object: when the toolkit finds no display, the process ends with status 1 and
// one line in Portuguese that names the variable it read, instead of aborting with advice to reinstall.
void endWithoutDisplay();
// Call once the application object exists: the toolkit's messages go where they went before.
void displayFound();

// The user's decimal separator, read from the system locale; the point where that is not one Latin-1 character.
char userDecimalSeparator();

// The toolkit's own texts in Portuguese while it lives: European wording over Brazilian for a user in Portugal.
class PortugueseTexts {
public:
    explicit PortugueseTexts(const QLocale& user);
    ~PortugueseTexts();
    PortugueseTexts(const PortugueseTexts&) = delete;
    PortugueseTexts& operator=(const PortugueseTexts&) = delete;
    // Whether the scroll bar's menu reads in Portuguese.
    bool scrollMenu() const;

private:
    std::vector<std::unique_ptr<QTranslator>> catalogues_;
};

// Ends the event loop when the window system destroys the window behind the program's back.
void quitWhenDestroyed(QWidget& window);

} // namespace qtui
