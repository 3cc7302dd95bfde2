// The lorrin stand-in grows here as the library calls it.
namespace lorrin { int Placeholder() { return 0; } }
