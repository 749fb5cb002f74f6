// Makes Hearthkp.Tps in the current directory with generated records, to
// look at the lists by hand: sample_data [books]
#include "integrity/tableopen.h"
#include "sampledata.h"

#include <cstdlib>

int main(int argc, char **argv)
{
    using namespace hk;
    const long books = argc > 1 ? std::atol(argv[1]) : 500;
    TablesInUse tables{&BookCategory, &Books, &ItemsRooms, &Items, &HearthkpValue};
    if (!tables.ok()) return 1;
    sample::fill(books);
    return 0;
}
