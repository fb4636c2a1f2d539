#pragma once

#include <string>
#include <string_view>

namespace korimo {

// Why a read stored no patches. The batch tool tells its user in English,
// the window in Japanese; both texts come from here.
enum class ReadFailure {
  None,
  Missing,            // no such file
  NotRegularFile,     // a folder, device or pipe
  Unreadable,         // cannot be opened, or a read failed part-way
  NoBeginData,        // no line whose first field is BEGIN_DATA
  NoDataLines,        // BEGIN_DATA is followed directly by END_DATA or the end
  NoColourColumns,    // neither all three LAB columns, nor XYZ, nor spectral bands
  UnknownIlluminant,  // L*a*b* must be computed, under an illuminant without a table
  SpectralNarrow,     // the bands do not cover 400–700 nm
  SpectralGap,        // a band inside the measured range is missing
  // CxF3 files
  CxfTooLarge,         // above kMaxCxfBytes, refused before parsing
  XmlTooLarge,         // parsing would take more than kMaxXmlMemoryBytes
  XmlEncoding,         // a declared encoding other than UTF-8, UTF-16, ISO-8859-1
  XmlMalformed,        // the parser's message: detail "line:column: message"
  XmlDoctype,          // a DOCTYPE, which CxF3 files never have
  NotCxf3,             // XML whose root is not CxF in the CxF3 namespace
  NoObjectCollection,  // no Resources/ObjectCollection
  NoColourObjects,     // no Object carries ColorValues
  DanglingReference,   // a ColorSpecification reference that names none
  MixedColourKinds,    // an object lacks the kind of colour value the others share
  NoIncrement,         // spectra whose ColorSpecification states no wavelength Increment
  NotANumber,          // a value element or attribute that is no number
  SpectrumTooLong,     // more values in one spectrum than any instrument measures
  LinkMissing,         // a colour object without its device-value object
  LinkAmbiguous,       // a colour object whose device-value object is not unique
  UnknownObserver,     // L*a*b* must be computed, for an observer without a table
};

// A failure and what it concerns: the illuminant's name, the missing
// wavelength in nm, the object, ColorSpecification or encoding named.
struct FailureReason {
  ReadFailure code = ReadFailure::None;
  std::string detail;
};

std::string EnglishReason(const FailureReason& reason);
std::string JapaneseReason(const FailureReason& reason);

}  // namespace korimo
