// Every sentence of Rankora's own, in French and English side by side: the lines that
// follow a runtime report, the warnings about ignored data, the progress line. Each is
// whole, with "{name}" placeholders, so that each language keeps its own word order.
// French texts carry no accents, as every French text of the program.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime/placeholders.hpp"
#include "runtime/progress.hpp"

namespace rankora::report {

enum class Text : std::uint8_t {
  // A keyboard answer that could not be read, or never came.
  LanguageRanOut,
  LanguageNotAnswered,
  RanOutAtSize,
  RanOutAtOrientation,
  RanOutAtFileName,
  RanOutAtTies,
  RanOutAtPermutations,
  SizeNotAnswered,
  OrientationNotAnswered,
  FileNameNotAnswered,
  TiesNotAnswered,
  PermutationsNotAnswered,
  // A read of the data file that failed.
  DataEndedEarly,
  DataNotANumber,
  DataUnreadable,
  // Warnings: data the reading rules ignored.
  TextAfterRecordsOnOneLine,
  TextAfterRecordsOnLines,
  TextAfterRecordsWhy,
  TextAfterTable,
  TextAfterTableWhy,
  // The data file could not be opened: where its name was cut, or why it failed.
  NameCutAtBlank,
  NameCutAtComma,
  NameCutAtSlash,
  NameCutAtFirstSlash,
  NameTooLong,
  PathTooLong,
  NameEmpty,
  FileNotThere,
  FileNameEndsInCarriageReturn,
  FileIsAFolder,
  FileMayNotBeRead,
  FileCannotBeOpened,
  // The report of an earlier run is in the way.
  ReportExists,
  // The size answered is larger than the capacities.
  TableTooLarge,
  TableTooLargeOrSwapped,
  // An output (CSV, JSON, SVG) that could not be written, by the step that failed.
  OutputNotCreated,
  OutputNotWritten,
  OutputNotSaved,
  OutputNotClosed,
  OutputNotRenamed,
  OutputAppeared,
  // The picture of a run (--svg): its title, its axes and legends, a judge's tooltip.
  PictureTitle,
  PictureSize,
  PictureWithTies,
  PictureWithoutTies,
  PicturePermutations,
  PictureOnePermutation,
  PictureStatistics,
  PictureGlobalHeading,
  PictureGlobalP,
  PictureObserved,
  PictureObservedOff,
  PictureShuffledTables,
  PictureOutside,
  PictureNoPermutation,
  PictureNoW,
  PictureJudgesHeading,
  PictureSignificant,
  PictureNotSignificant,
  PictureNullVariance,
  PictureAllJudgesW,
  PictureJudge,
  PictureHolm,
  PictureReportOrder,
  PictureTooltip,
  PictureTooltipNull,
  // The progress line of long analyses.
  ProgressGlobalTest,
  ProgressJudges,
  ProgressTimeLeft,
  // The command line: mistakes in its options, its files.
  StandardInputName,
  UnknownOption,
  OptionNeedsValue,
  OptionTakesNoValue,
  BadOptionValue,
  WantedRowsOrColumns,
  WantedCorrectedOrUncorrected,
  WantedLanguage,
  WantedPermutations,
  WantedSeed,
  WantedThreads,
  WantedFileName,
  TwoDataFiles,
  OptionNeedsDataFile,
  TryHelp,
  DataFileUnreadable,
  DataFileTooLarge,
  OutputExists,
  OutputCannotBeCreated,
  OutputNamedTwice,
  OutputIsDataFile,
  ThreadCountUnreadable,
  // A table file that cannot be analysed.
  TableUtf16,
  TableEmpty,
  TableNamesOnly,
  TablePlace,
  TableJudgeAndObject,
  TableQuoteNotClosed,
  TableTextAfterQuote,
  TableEmptyField,
  TableMissingValue,
  TableNeedsEveryValue,
  TableNotANumber,
  TableSeparatorShown,
  TableNoDecimalCommas,
  SeparatorSemicolons,
  SeparatorCommas,
  SeparatorTabs,
  SeparatorBlanks,
  TablePointAfterCommas,
  TableCommaAfterPoints,
  TableOneDecimalMark,
  TableRagged,
  TableHeaderCount,
  TableSameNames,
  NamesOfJudges,
  NamesOfObjects,
  NamesOnLines,
  NamesInFields,
  RepeatedRecord,
  RepeatedColumn,
  TableSize,
  TableTooSmall,
  TableOverCapacity,
  TableFitsTheOtherWay,
  JudgesAsRows,
  JudgesAsColumns,
  OneJudge,
  Judges,
  OneObject,
  Objects,
  OneValue,
  Values,
  // The command line's screen.
  TableRead,
  NamesFromRowAndColumn,
  NamesFromRow,
  NamesFromColumn,
  WithDecimalCommas,
  ReportWrittenTo,
  Count
};

// The pattern of `id` in language `lang` (1 French, any other English).
std::string_view pattern(int lang, Text id);

// The sentence `id` in language `lang`, its placeholders filled.
std::string sentence(int lang, Text id, std::initializer_list<rt::Placeholder> values);

// The progress line's patterns in language `lang`.
rt::ProgressTexts progress_texts(int lang);

}  // namespace rankora::report
