// A library that shows one of the units the layer libraries keep to themselves: the export check
// must refuse it.
namespace zor {

class __attribute__((visibility("default"))) TRasterPages {
public:
    int Pages() const;
};

int TRasterPages::Pages() const { return 1; }

} // namespace zor
