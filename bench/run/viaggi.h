#pragma once
// Round trips to the PostgreSQL server, counted under every database driver of this process:
// one each time the process sends on a connection to the server's port after it has received
// from it. The bench's executable defines send and recv in front of the C library's (it
// exports its symbols), so libpq, which Qt's client and the ODBC driver both use, is counted
// as it is.
namespace viaggi {

// Counts the connections to this TCP port (0: none).
void contaPorta(int porta);
long long conteggio();

} // namespace viaggi
