// A module that makes components but gives no way to destroy them: the host must refuse it.

extern "C" __attribute__((visibility("default"))) void* condpag_create(const char*) {
    return nullptr;
}
