#pragma once

// The help context numbers of the program. Each names one page of the help book; the
// shell's help map turns a number into its page. Dialogs pass these to attachHelp() or
// ShowHelpContext() and never name pages themselves.
namespace HelpContexts {

inline constexpr int Contents = 0;
inline constexpr int FrequentlyAskedQuestions = 911;
inline constexpr int TechnicalSupport = 1015;

// Calendar Properties: one topic per page, in tab order; Borders has its own number.
inline constexpr int PropertiesLayout = 2100;
inline constexpr int PropertiesDate = 2101;
inline constexpr int PropertiesFontsColors = 2102;
inline constexpr int PropertiesMiniFontsColors = 2103;
inline constexpr int PropertiesHeaders = 2104;
inline constexpr int PropertiesLines = 2105;
inline constexpr int PropertiesPlanners = 2106;
inline constexpr int PropertiesLanguage = 2107;
inline constexpr int PropertiesMargins = 2108;
inline constexpr int PropertiesBorders = 3109;

// Dialogs of the placed objects.
inline constexpr int LoadImageFile = 40003; // clip-art image browser
inline constexpr int LabelText = 40004; // the label's "Text" dialog
inline constexpr int Text3DEffects = 40008;
inline constexpr int LoadTextureImage = 40012;
inline constexpr int RichTextEditor = 40013;
inline constexpr int SuperTextProperties = 40014;
inline constexpr int FloatingCalendarProperties = 40015;

// Topics of our own for the dialogs and windows that had none.
inline constexpr int MainWindow = 50001;
inline constexpr int UserDefinedTitle = 50002;
inline constexpr int RecurringDates = 50003;
inline constexpr int RecurringDateFormula = 50004;
inline constexpr int Holidays = 50005;
inline constexpr int SelectRecurringDates = 50006;
inline constexpr int SetTime = 50007;
inline constexpr int ConfigurationInformation = 50008;
inline constexpr int About = 50009;
inline constexpr int QuickTips = 50010;
inline constexpr int SymbolSelector = 50011;
inline constexpr int IconTool = 50012;
inline constexpr int StyleSheets = 50013;

} // namespace HelpContexts
