#pragma once

// A shared library opened when a program first needs it, not at its start: linked, the libraries
// of map downloads (libcurl) and XPS packages (libzip), and the TLS, Kerberos and OpenSSL
// libraries they bring, would load and initialise in every program of the library, most of the
// start of a tool that exports one label.
namespace zor {

class TLazyLibrary {
public:
    // Opens the library by its file name (its soname). It stays open for the rest of the process.
    explicit TLazyLibrary(const char* soname);

    bool IsOpen() const { return fHandle != nullptr; }
    // Sets function to the library's function of that name; false (and null) when it has none.
    template <typename F> bool Resolve(F*& function, const char* name) const
    {
        function = reinterpret_cast<F*>(Symbol(name));
        return function != nullptr;
    }

private:
    void* Symbol(const char* name) const;

    void* fHandle = nullptr;
};

} // namespace zor
