// The cells of a record set's rows: every cell where it was put, whatever the width and count
// of rows, a row's place kept while more rows come, deleted rows leaving the others in order.
#include "celle.h"

#include <gtest/gtest.h>

namespace {

TEST(CelleRighe, EveryCellStaysWhereItWasPutAtAnyWidthAndCount)
{
    for (const int colonne : {1, 3, 37, 1024, 1025, 5000}) {
        for (const int quante : {1, 2, 3, 7, 64, 65, 300}) {
            SCOPED_TRACE(testing::Message() << colonne << " columns, " << quante << " rows");
            CelleRighe c(colonne);
            std::vector<const QVariant *> posti;
            for (int r = 0; r < quante; ++r) {
                QVariant *riga = c.aggiungi();
                for (int k = 0; k < colonne; ++k) riga[k] = r * 10000 + k;
                posti.push_back(riga);
            }
            ASSERT_EQ(c.righe(), quante);
            for (int r = 0; r < quante; ++r) {
                ASSERT_EQ(c.riga(r), posti[size_t(r)]);
                for (int k = 0; k < colonne; k += std::max(1, colonne / 7))
                    ASSERT_EQ(c.cella(r, k).toInt(), r * 10000 + k);
                ASSERT_EQ(c.cella(r, colonne - 1).toInt(), r * 10000 + colonne - 1);
            }
            if (quante < 2) continue;
            // The first row deleted, the last given up and a new one added in its place.
            c.elimina(0);
            c.togliUltima();
            c.aggiungi()[0] = -1;
            ASSERT_EQ(c.righe(), quante - 1);
            EXPECT_EQ(c.cella(c.righe() - 1, 0).toInt(), -1);
            if (quante > 2) {
                EXPECT_EQ(c.cella(0, 0).toInt(), 10000);
                EXPECT_EQ(c.cella(c.righe() - 2, colonne - 1).toInt(), (quante - 2) * 10000 + colonne - 1);
            }
        }
    }
}

} // namespace
