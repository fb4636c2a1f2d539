#include "core/ReadFailure.h"

#include <algorithm>
#include <cstddef>

#include "core/Cxf3Reader.h"

namespace korimo {

namespace {

std::string Megabytes(std::size_t bytes) {
  return std::to_string(bytes >> 20) + " MB";
}

// The parser's position and message, from a detail "line:column: message".
struct ParserMessage {
  std::string line, column, message;
};

ParserMessage SplitParserMessage(const std::string& detail) {
  const std::size_t colon = detail.find(':');
  const std::size_t second = colon == std::string::npos ? colon : detail.find(':', colon + 1);
  if (second == std::string::npos)
    return {"?", "?", detail};
  const std::size_t text = std::min(detail.size(), second + 2);
  return {detail.substr(0, colon), detail.substr(colon + 1, second - colon - 1),
          detail.substr(text)};
}

}  // namespace

std::string EnglishReason(const FailureReason& reason) {
  const std::string& d = reason.detail;
  switch (reason.code) {
    case ReadFailure::None:
      break;
    case ReadFailure::Missing:
      return "no such file";
    case ReadFailure::NotRegularFile:
      return "not a regular file";
    case ReadFailure::Unreadable:
      return "cannot be read";
    case ReadFailure::NoBeginData:
      return "no BEGIN_DATA line";
    case ReadFailure::NoDataLines:
      return "no data lines after BEGIN_DATA";
    case ReadFailure::NoColourColumns:
      return "no LAB_L/LAB_A/LAB_B, XYZ or spectral columns";
    case ReadFailure::UnknownIlluminant:
      return "illuminant " + d + ": no weighting table";
    case ReadFailure::SpectralNarrow:
      return "spectral bands do not cover 400-700 nm";
    case ReadFailure::SpectralGap:
      return "no spectral band at " + d + " nm";
    case ReadFailure::CxfTooLarge:
      return "CxF3 file larger than " + Megabytes(kMaxCxfBytes);
    case ReadFailure::XmlTooLarge:
      return "the XML would take more than " + Megabytes(kMaxXmlMemoryBytes) + " of memory to read";
    case ReadFailure::XmlEncoding:
      return "XML encoding " + d + " is not supported";
    case ReadFailure::XmlMalformed: {
      const ParserMessage p = SplitParserMessage(d);
      return "malformed XML at line " + p.line + ", column " + p.column + ": " + p.message;
    }
    case ReadFailure::XmlDoctype:
      return "XML with a DOCTYPE declaration is not read";
    case ReadFailure::NotCxf3:
      return "not a CxF3 file: root element " + d;
    case ReadFailure::NoObjectCollection:
      return "no Resources/ObjectCollection";
    case ReadFailure::NoColourObjects:
      return "no object with ColorValues";
    case ReadFailure::DanglingReference:
      return "ColorSpecification " + d + " does not exist";
    case ReadFailure::MixedColourKinds:
      return "object " + d + " lacks the kind of colour values the other objects have";
    case ReadFailure::NoIncrement:
      return d.empty() ? "spectra without a wavelength Increment"
                       : "ColorSpecification " + d + " states no wavelength Increment";
    case ReadFailure::NotANumber:
      return "not a number at " + d;
    case ReadFailure::SpectrumTooLong:
      return "object " + d + ": more than " + std::to_string(kMaxSpectralValues) +
             " spectral values";
    case ReadFailure::LinkMissing:
      return "object " + d + ": no device-value object at its location or with its name";
    case ReadFailure::LinkAmbiguous:
      return "object " + d + ": its device-value object is not unique";
    case ReadFailure::UnknownObserver:
      return "observer " + d + ": no weighting table";
  }
  return "no patches read";
}

std::string JapaneseReason(const FailureReason& reason) {
  const std::string& d = reason.detail;
  switch (reason.code) {
    case ReadFailure::None:
      break;
    case ReadFailure::Missing:
      return "ファイルがありません";
    case ReadFailure::NotRegularFile:
      return "通常のファイルではありません";
    case ReadFailure::Unreadable:
      return "読み取れません";
    case ReadFailure::NoBeginData:
      return "BEGIN_DATAの行がありません";
    case ReadFailure::NoDataLines:
      return "BEGIN_DATAの後にデータがありません";
    case ReadFailure::NoColourColumns:
      return "L*a*b*・XYZ・分光データの列がありません";
    case ReadFailure::UnknownIlluminant:
      return "光源" + d + "の重価係数がありません";
    case ReadFailure::SpectralNarrow:
      return "分光データが400～700 nmを覆っていません";
    case ReadFailure::SpectralGap:
      return "分光データに" + d + " nmの列がありません";
    case ReadFailure::CxfTooLarge:
      return "CxF3ファイルが" + Megabytes(kMaxCxfBytes) + "を超えています";
    case ReadFailure::XmlTooLarge:
      return "XMLの読み込みに" + Megabytes(kMaxXmlMemoryBytes) + "を超えるメモリが必要です";
    case ReadFailure::XmlEncoding:
      return "XMLの文字コード" + d + "には対応していません";
    case ReadFailure::XmlMalformed: {
      const ParserMessage p = SplitParserMessage(d);
      return "XMLの形式に誤りがあります（" + p.line + "行" + p.column + "列：" + p.message + "）";
    }
    case ReadFailure::XmlDoctype:
      return "DOCTYPE宣言のあるXMLは読み込みません";
    case ReadFailure::NotCxf3:
      return "CxF3ファイルではありません（ルート要素 " + d + "）";
    case ReadFailure::NoObjectCollection:
      return "ObjectCollectionがありません";
    case ReadFailure::NoColourObjects:
      return "測色値（ColorValues）のあるオブジェクトがありません";
    case ReadFailure::DanglingReference:
      return "ColorSpecification「" + d + "」がありません";
    case ReadFailure::MixedColourKinds:
      return "オブジェクト「" + d + "」に他と同じ種類の測色値がありません";
    case ReadFailure::NoIncrement:
      return d.empty() ? "分光データの波長間隔（Increment）がありません"
                       : "ColorSpecification「" + d + "」に波長間隔（Increment）がありません";
    case ReadFailure::NotANumber:
      return "数値ではありません（" + d + "）";
    case ReadFailure::SpectrumTooLong:
      return "オブジェクト「" + d + "」の分光データが" + std::to_string(kMaxSpectralValues) +
             "値を超えています";
    case ReadFailure::LinkMissing:
      return "オブジェクト「" + d + "」に対応するデバイス値のオブジェクトがありません";
    case ReadFailure::LinkAmbiguous:
      return "オブジェクト「" + d + "」に対応するデバイス値のオブジェクトが一つに決まりません";
    case ReadFailure::UnknownObserver:
      return "観察者" + d + "の重価係数がありません";
  }
  return "パッチがありません";
}

}  // namespace korimo
