#include "calendar_languages.h"

#include <array>

const TCalendarLanguage& calendarLanguage(TCalendarLanguageId id)
{
    static const std::array<TCalendarLanguage, kCalendarLanguageCount> languages = {{
        {QStringLiteral("English"),
         {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
          "November", "December"},
         {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}},
        {QString::fromUtf8("Français"),
         {"Janvier", QString::fromUtf8("Février"), "Mars", "Avril", "Mai", "Juin", "Juillet", QString::fromUtf8("Août"),
          "Septembre", "Octobre", "Novembre", QString::fromUtf8("Décembre")},
         {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"}},
        {QStringLiteral("Deutsch"),
         {"Januar", "Februar", QString::fromUtf8("März"), "April", "Mai", "Juni", "Juli", "August", "September",
          "Oktober", "November", "Dezember"},
         {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag ", "Samstag"}},
        {QStringLiteral("L'italiano"),
         {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto", "Settembre", "Ottobre",
          "Novembre", "Dicembre"},
         {"Domenica", QString::fromUtf8("Lunedì"), QString::fromUtf8("Martedì"), QString::fromUtf8("Mercoledì"),
          QString::fromUtf8("Giovedì"), QString::fromUtf8("Venerdì"), "Sabato"}},
        {QString::fromUtf8("Español"),
         {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre", "Octubre",
          "Noviembre", "Diciembre"},
         {"Domingo", "Lunes", "Martes", QString::fromUtf8("Miércoles"), "Jueves", "Viernes",
          QString::fromUtf8("Sábado")}},
    }};
    return languages[size_t(id)];
}
