// vorimel-load: reads one Jet file for the program, in a process of its own.
// libmdb trusts the bytes it reads; here a damaged file can crash or stall
// nothing but this process, which the program watches and replaces by an
// error. Started only by the program, with the descriptors LoaderProtocol.h
// describes.

#include "platform/db/jet/LoaderChild.h"

int main(int argc, char **argv)
{
    platform::db::loader::runLoader(argc, argv);
}
