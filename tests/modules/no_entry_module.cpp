// A module that loads but exports no registration entry, for the loader's error path.
extern "C" __attribute__((visibility("default"))) int PlurionUnrelatedExport() {
    return 0;
}
