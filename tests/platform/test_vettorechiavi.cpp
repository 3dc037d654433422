#include "apperror.h"
#include "vettorechiavi.h"

#include <gtest/gtest.h>

namespace {

TEST(VettoreChiavi, KeysIgnoreCaseAndKeepInsertionOrder)
{
    VettoreChiavi v;
    v.setValore("USD", true, 1.1);
    v.setValore("chf", true, 0.95);
    v.setValore("usd", true, 1.2); // same key
    v.setData("JPY", true, Date::fromYmd(2024, 1, 2));
    ASSERT_EQ(v.Conta(), 3);
    EXPECT_EQ(v.Elementi()[0].Chiave, "USD");
    EXPECT_DOUBLE_EQ(v.Elementi()[0].Valore, 1.2);
    EXPECT_EQ(v.Elementi()[1].Chiave, "chf");
    EXPECT_EQ(v.Elementi()[2].Chiave, "JPY");
    EXPECT_TRUE(v.Esiste("Chf"));
    EXPECT_TRUE(v.Data("jpy").sameAs(Date::fromYmd(2024, 1, 2)));
    EXPECT_TRUE(v.Rimuovi("chf"));
    EXPECT_EQ(v.Elementi()[1].Chiave, "JPY");
    EXPECT_DOUBLE_EQ(v.Valore("usd"), 1.2);
    v.Svuota();
    EXPECT_EQ(v.Conta(), 0);
    EXPECT_FALSE(v.Esiste("USD"));
}

TEST(VettoreChiavi, MissingKeys)
{
    VettoreChiavi v;
    EXPECT_DOUBLE_EQ(v.Valore("GBP"), 0.0); // read without adding
    EXPECT_EQ(v.Conta(), 0);
    EXPECT_DOUBLE_EQ(v.Valore("GBP", true), 0.0); // read that adds the entry
    EXPECT_EQ(v.Conta(), 1);
    EXPECT_TRUE(v.Data("GBP").isEmpty());
    EXPECT_THROW(v.setImporto("EUR", false, Currency::fromLong(1)), AppError);
    v.setImporto("Spesa1", true, *Currency::parse(u"10.25"));
    v.setImporto("SPESA1", true, v.Importo("spesa1") + *Currency::parse(u"0.75"));
    EXPECT_EQ(v.Importo("Spesa1").toString(), "11");
}

} // namespace
