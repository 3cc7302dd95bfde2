// The caddox stand-in grows here as the library calls it.
namespace caddox { int Placeholder() { return 0; } }
