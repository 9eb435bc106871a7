#pragma once

#include "support/testenvironment.h"

#include <QString>

class QWidget;

namespace orvane::test {

// A temporary home made once per test program (the settings library fixes its folders at first
// use), with the key "Orvane 32" and the program folder emptied before each test.
class ShellFixture
{
public:
    void reset() const;
    QString programFolder() const;
    QString settingsFile() const;
    // Writes the key's file as a person or another program could have left it.
    void writeSettingsFile(const QByteArray &iniText) const;
    // Stores values into the key through the settings library.
    void storeValue(const QString &name, const QString &value) const;

private:
    TemporaryHome m_home;
};

// Types the text into the widget key by key, letters outside plain ASCII included.
void typeText(QWidget *widget, const QString &text);

} // namespace orvane::test
