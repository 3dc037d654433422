// The database library against raw Qt SQL doing the same work, as a run does it: reads of
// 1,000 to 100,000 rows, writes through wide record sets, small commits, translation. On
// SQLite always (a company file with the program's own settings), on PostgreSQL when
// EVASORD_PG_* name a server. Every pair runs in turn within each iteration; "rapporto" is
// the library's time over the raw one (the median of seven repetitions is the figure to read).
#include "banco.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    preparaBanchi();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    chiudiBanchi();
    return 0;
}
