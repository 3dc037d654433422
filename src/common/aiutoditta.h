#pragma once
// The help component bound to the open company database (ggAiuto), without its windows: what a
// run without a user needs of it (decodes, exchange rates).
class GestoreAiuto;

GestoreAiuto &LegaAiutoAllaDitta();
