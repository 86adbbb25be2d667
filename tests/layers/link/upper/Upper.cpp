__attribute__((visibility("default"))) int Lower();

__attribute__((visibility("default"))) int Upper()
{
    return Lower() + 1;
}
