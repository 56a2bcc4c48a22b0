// A library the loader tests open by its Windows-style name.
extern "C" __attribute__((visibility("default"))) int ProbeValue()
{
    return PROBE_VALUE;
}
