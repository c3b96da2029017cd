#pragma once

#include <QLocale>

#include <clocale>

// Number texts must not depend on the computer's regional settings: tests run under
// locales whose separators are the other way round from ours ('.' decimal, ',' grouping
// for Qt) and, where the C library has it, a C locale with the decimal comma.
inline void UseForeignLocales()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const char* name : {"de_DE.UTF-8", "hr_HR.UTF-8", "de_DE", "hr_HR"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            break;
        }
    }
}
