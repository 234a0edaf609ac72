#include "server_contract/listargs.h"

#include <gtest/gtest.h>

TEST(CodeList, ReadsWhatItWrites) {
    EXPECT_EQ(CodeList::parse(""), QStringList());
    EXPECT_EQ(CodeList::parse("0101"), QStringList({"0101"}));
    EXPECT_EQ(CodeList::parse("000012;000047;000012"), QStringList({"000012", "000047"}));
    const QStringList codes = {"MAT", "SERV", "A-1/2.3", QString(21, u'9')};
    EXPECT_EQ(CodeList::parse(CodeList::write(codes)), codes);
    EXPECT_EQ(CodeList::write({"B", "A", "B"}), "B;A");
    EXPECT_EQ(CodeList::write({}), "");
}

TEST(CodeList, RefusesAnythingElse) {
    for (const char *text : {";", "a;", ";a", "a;;b", "a b", " a", "a'", "a\"b", "a\tb", "ação"})
        EXPECT_THROW(CodeList::parse(QString::fromUtf8(text)), CodeList::FormatError) << text;
    EXPECT_THROW(CodeList::parse(QString(22, u'1')), CodeList::FormatError);
    EXPECT_THROW(CodeList::write({"ok", ""}), CodeList::FormatError);
    EXPECT_THROW(CodeList::write({"a;b"}), CodeList::FormatError);

    QStringList many;
    for (int i = 0; i <= CodeList::maxCodes; ++i)
        many << QString::number(i);
    EXPECT_THROW(CodeList::parse(many.join(u';')), CodeList::FormatError);
    many.removeLast();
    EXPECT_EQ(CodeList::parse(many.join(u';')).size(), CodeList::maxCodes);
}

TEST(CodeList, NamesTheFaultOfACode) {
    EXPECT_EQ(CodeList::faultOf("000012"), "");
    EXPECT_EQ(CodeList::faultOf(""), "está vazio");
    EXPECT_EQ(CodeList::faultOf("A B"), "tem espaço em branco");
    EXPECT_EQ(CodeList::faultOf("A;B"), "tem \";\"");
    EXPECT_EQ(CodeList::faultOf("O'BRIEN"), "tem aspas");
    EXPECT_EQ(CodeList::faultOf(QString::fromUtf8("AÇO")), "tem acento ou caractere especial");
    EXPECT_EQ(CodeList::faultOf(QString(22, u'1')), "tem mais de 21 caracteres");
}
