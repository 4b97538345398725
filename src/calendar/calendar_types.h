#pragma once
// Enumerations of the calendar page. Their ordinals are stored in files: never renumber.

enum class TCalendarLayout {
    loFullCalendar, LOFullCalendarLS, loFCMinisInTitle, loFCMinisInTitleLS,
    loFC6Before6After, loFC6Before6AfterLS, loFC12After, loFC12AfterLS,
    lopMC6Month, lopMC6MonthLS, loMC12Month, loMC12MonthLS, loMC24Month, loMC24MonthLS,
    loMC48Month, loMC48MonthLS, loMC60Month, loMC60MonthLS,
    loWeek, lo2Week, loDay10, loDay15
};
constexpr int kLayoutCount = 22;

enum class TCalendarOrientation { coPortrait, coLandscape };
enum class TCalendarLineLayout { llFull, llHeadersAndCells, llCellsOnly };
enum class TMiniCalendarLineLayout { mllFull, mllBoxed, mllMinimal };
enum class TCalBorderStyle { cbNone, cbAll, cbTop, cbBottom, cbTopBottom };
enum class TCalHeadersStyle { dsFirstChar, dsThreeChars, dsWhole };
enum class TCalendarNumberPosition { cnpCenter, cnpUpperRight };

// Names as they appear in files of the object stream and in document dumps.
const char* layoutName(TCalendarLayout v);
const char* orientationName(TCalendarOrientation v);
const char* lineLayoutName(TCalendarLineLayout v);
const char* miniLineLayoutName(TMiniCalendarLineLayout v);
const char* borderStyleName(TCalBorderStyle v);
const char* headersStyleName(TCalHeadersStyle v);
const char* numberPositionName(TCalendarNumberPosition v);

// 0 month layouts (0..7), 1 minis only (8..17), 2 week, 3 two weeks, 4 ten hours, 5 fifteen hours.
int LayoutFamilyOf(TCalendarLayout layout);
bool isLandscapeLayout(TCalendarLayout layout);
bool isPlannerLayout(TCalendarLayout layout);
// Layouts whose date cells take text: month layouts and planners.
bool layoutHasDayCells(TCalendarLayout layout);
