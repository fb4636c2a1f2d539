#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "cli/JsonWriter.h"
#include "cli/MiniJson.h"
#include "core/Encoding.h"

namespace korimo {
namespace {

using testing::Json;
using testing::MiniJsonParser;

std::string StringDocument(std::string_view text) {
  JsonWriter w;
  w.BeginArray();
  w.String(text);
  w.EndArray();
  return w.Text();
}

std::string NumberText(double value) {
  JsonWriter w;
  w.BeginArray();
  w.Number(value);
  w.EndArray();
  const auto doc = MiniJsonParser::Parse(w.Text());
  return doc ? (*doc)[0].kind == Json::Kind::Null ? "null" : (*doc)[0].text : "<invalid>";
}

TEST(CliJsonWriter, NestedContainersAreValidAndKeepOrder) {
  JsonWriter w;
  w.BeginObject();
  w.Key("a");
  w.Integer(-3);
  w.Key("list");
  w.BeginArray();
  w.BeginArray();
  w.EndArray();
  w.BeginObject();
  w.EndObject();
  w.Integer(7);
  w.String("x");
  w.EndArray();
  w.Key("empty");
  w.BeginObject();
  w.EndObject();
  w.EndObject();
  EXPECT_TRUE(w.Complete());
  const auto doc = MiniJsonParser::Parse(w.Text());
  ASSERT_TRUE(doc) << w.Text();
  EXPECT_EQ(doc->Keys(), (std::vector<std::string>{"a", "list", "empty"}));
  EXPECT_EQ((*doc)["a"].text, "-3");
  ASSERT_EQ((*doc)["list"].size(), 4u);
  EXPECT_EQ((*doc)["list"][0].kind, Json::Kind::Array);
  EXPECT_EQ((*doc)["list"][1].kind, Json::Kind::Object);
  EXPECT_EQ((*doc)["list"][2].text, "7");
  EXPECT_EQ((*doc)["list"][3].text, "x");
}

TEST(CliJsonWriter, TopLevelKeysStartOnTheirOwnLines) {
  JsonWriter w;
  w.BeginObject();
  w.Key("one");
  w.Integer(1);
  w.Key("two");
  w.Integer(2);
  w.EndObject();
  EXPECT_EQ(w.Text(), "{\n  \"one\": 1,\n  \"two\": 2\n}\n");
}

TEST(CliJsonWriter, FloatsWidenToTheShortestRoundTripText) {
  EXPECT_EQ(NumberText(static_cast<double>(95.12f)), "95.12000274658203");
  JsonWriter w;
  w.BeginArray();
  w.Number(95.12f);
  w.Number(0.1f);
  w.Number(-0.0f);
  w.Number(3.0f);
  w.Number(1e-7f);
  w.EndArray();
  const auto doc = MiniJsonParser::Parse(w.Text());
  ASSERT_TRUE(doc) << w.Text();
  EXPECT_EQ((*doc)[0].text, "95.12000274658203");
  EXPECT_EQ((*doc)[1].text, "0.10000000149011612");
  EXPECT_EQ((*doc)[3].text, "3");
  for (std::size_t i = 0; i < doc->size(); ++i) {
    EXPECT_EQ(static_cast<float>((*doc)[i].number),
              std::vector<float>({95.12f, 0.1f, -0.0f, 3.0f, 1e-7f})[i]);
  }
  EXPECT_TRUE(std::signbit((*doc)[2].number));
}

TEST(CliJsonWriter, DoublesRoundTripExactly) {
  for (double v : {0.0, 1.0 / 3.0, 123456.789, -2.5e-300, 1.7976931348623157e308, 5e-324}) {
    const std::string text = NumberText(v);
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    EXPECT_EQ(back, v) << text;
  }
}

TEST(CliJsonWriter, NonFiniteNumbersBecomeNull) {
  EXPECT_EQ(NumberText(std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(NumberText(-std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(NumberText(std::numeric_limits<double>::quiet_NaN()), "null");
}

TEST(CliJsonWriter, IntegersAreWrittenAsIntegers) {
  JsonWriter w;
  w.BeginArray();
  w.Integer(0);
  w.Integer(3000);
  w.Integer(-32768);
  w.Integer(INT64_MIN);
  w.EndArray();
  EXPECT_EQ(w.Text(), "[0, 3000, -32768, -9223372036854775808]\n");
}

TEST(CliJsonWriter, EscapesQuotesBackslashesAndControlCharacters) {
  const std::string tricky = std::string("a\"b\\c\r\n\t\b\f") + '\x01' + '\x1f' + "/\x7f";
  const std::string doc = StringDocument(tricky);
  EXPECT_NE(doc.find("\\r\\n"), std::string::npos);
  EXPECT_NE(doc.find("\\u0001"), std::string::npos);
  EXPECT_NE(doc.find("\\u001f"), std::string::npos);
  for (char c : doc.substr(0, doc.size() - 1)) {
    EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "raw control character in " << doc;
  }
  const auto parsed = MiniJsonParser::Parse(doc);
  ASSERT_TRUE(parsed) << doc;
  EXPECT_EQ((*parsed)[0].text, tricky);
}

TEST(CliJsonWriter, Utf8PassesThroughUnchanged) {
  const std::string text = "基準:⊿E00 ﾊﾟｯﾁ 😀";
  const std::string doc = StringDocument(text);
  EXPECT_NE(doc.find(text), std::string::npos);
  EXPECT_EQ((*MiniJsonParser::Parse(doc))[0].text, text);
}

TEST(CliJsonWriter, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  const std::string bad = std::string("a") + '\x8a' + '\xee' + "b" + "\xed\xa0\x80" + "\xe6\x97";
  const std::string doc = StringDocument(bad);
  EXPECT_TRUE(IsValidUtf8(doc));
  const auto parsed = MiniJsonParser::Parse(doc);
  ASSERT_TRUE(parsed);
  EXPECT_EQ((*parsed)[0].text.substr(0, 1), "a");
  EXPECT_NE((*parsed)[0].text.find("\xEF\xBF\xBD"
                                   "b"),
            std::string::npos);
}

}  // namespace
}  // namespace korimo
