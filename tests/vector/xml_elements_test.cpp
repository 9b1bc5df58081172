#include "vector/xml_elements.hpp"

#include <gtest/gtest.h>

#include "vector/records_error.hpp"

namespace el::test {
namespace {

std::string refusal(const std::string& document) {
    try {
        vec::readXml(document, "t.xml");
    } catch (const vec::RecordsError& e) {
        return e.what();
    }
    return "(read)";
}

TEST(XmlElements, ElementsAttributesAndTextAsWritten) {
    const vec::XmlElement root = vec::readXml(
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!DOCTYPE a>\n<!-- first -->\n"
        "<x:a xmlns:x='urn:x' x:k=\"1 &amp; &lt;2&gt; &#9;&#x41;&#233;\">\n"
        "  <b v='&quot;q&apos;'>one<!-- skipped --> <![CDATA[<two> & ]]>three</b>\n"
        "  <c/><b/>\n"
        "</x:a>\n<?tail?>\n",
        "t.xml");
    EXPECT_EQ(root.name, "a");
    EXPECT_EQ(root.attribute("k"), "1 & <2> \tA\xC3\xA9");
    EXPECT_FALSE(root.attribute("missing"));
    ASSERT_EQ(root.children.size(), 3u);
    const std::vector<const vec::XmlElement*> bs = root.childrenNamed("b");
    ASSERT_EQ(bs.size(), 2u);
    EXPECT_EQ(bs[0]->attribute("v"), "\"q'");
    EXPECT_EQ(bs[0]->text, "one <two> & three");
    EXPECT_EQ(bs[0]->line, 5);
    EXPECT_EQ(root.children[1].name, "c");
}

TEST(XmlElements, MalformedDocumentsAreRefusedNamingTheLine) {
    EXPECT_NE(refusal("<a>\n<b>\n</a>").find("line 3 of t.xml: the XML closes <b> with </a>"), std::string::npos)
        << refusal("<a>\n<b>\n</a>");
    EXPECT_NE(refusal("").find("holds no element"), std::string::npos);
    EXPECT_NE(refusal("<a k=1/>").find("not quoted"), std::string::npos);
    EXPECT_NE(refusal("<a k='1/>").find("never closed"), std::string::npos);
    EXPECT_NE(refusal("<a>&nbsp;</a>").find("&nbsp;"), std::string::npos);
    EXPECT_NE(refusal("<a>&#0;</a>").find("no character"), std::string::npos);
    EXPECT_NE(refusal("<a>&#x110000;</a>").find("beyond Unicode"), std::string::npos);
    EXPECT_NE(refusal("<a></a><b/>").find("after its root"), std::string::npos);
    EXPECT_NE(refusal("<!DOCTYPE a [<!ENTITY e 'x'>]><a/>").find("declarations"), std::string::npos);
    EXPECT_NE(refusal("<a><!-- open").find("never closed"), std::string::npos);
    std::string deep;
    for (std::size_t k = 0; k <= vec::kXmlDepthLimit; ++k) deep += "<d>";
    EXPECT_NE(refusal(deep).find("more than 64 deep"), std::string::npos);  // no recursion without end
    EXPECT_NE(refusal("<a>text").find("ends before"), std::string::npos);
}

}  // namespace
}  // namespace el::test
