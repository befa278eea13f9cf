// A shared library that loads but exports no VST entry point.

extern "C" __attribute__((visibility("default"))) int FixtureWithoutEntry()
{
    return 0;
}
