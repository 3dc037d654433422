// WEEE links between the lines of one order: the document line of a linked order line points to
// the document line of the line it is linked to, whichever of the two is written first.
#include "companyfixture.h"
#include "conversionediprova.h"

#include <utility>
#include <vector>

namespace {

class LegamiRaee : public ConversioneDiProva {};

struct Caso {
    const char *nome;
    std::vector<std::pair<int32_t, int32_t>> righe; // order line key, the key it is linked to (0 none)
    std::vector<int32_t> attesi;                    // RigLivRAEE of document lines 12, 13, ...
};

TEST_P(LegamiRaee, LinksResolvedWhicheverLineComesFirst)
{
    const Caso casi[] = {
        {"linked line first", {{5, 0}, {6, 5}}, {0, 12}},
        {"linked line later", {{5, 6}, {6, 0}}, {13, 0}},
        {"two lines waiting for the same one", {{5, 7}, {6, 7}, {7, 0}}, {14, 14, 0}},
        {"linked to each other", {{5, 6}, {6, 5}}, {13, 12}},
        {"a waiting line resolved by a line with a link of its own", {{5, 6}, {6, 9}, {9, 0}}, {13, 14, 0}},
        {"linked line not in this conversion", {{5, 9}}, {-9}},
    };
    int32_t doc = 0;
    for (const Caso &k : casi) {
        SCOPED_TRACE(k.nome);
        suite::OrderInput o;
        for (const auto &[rigLiv, raee] : k.righe)
            o.righe.push_back({.articolo = suite::articleCode(1), .qta = 1, .prezzo = 1,
                               .extra = {{"RigLiv", rigLiv}, {"RigLivRAEE", raee}}});
        const int32_t n = ordine(o);
        documento(false, 1.0, ++doc);
        apri(n);
        for (size_t i = 0; i < k.righe.size(); ++i) {
            scriviRiga(int32_t(i) + 1, int32_t(i) + 12);
            avanti();
        }
        for (size_t i = 0; i < k.attesi.size(); ++i)
            EXPECT_EQ(campoRiga(int32_t(i) + 12, "RigLivRAEE").toLong(), k.attesi[i]) << "line " << i + 12;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, LegamiRaee, kBothEngines, engineParamName);

} // namespace
