// Exports something, but not NewPlugin.
extern "C" int TestNoEntryValue()
{
    return 1;
}
