// The ostrel stand-in grows here as the library calls it.
namespace ostrel { int Placeholder() { return 0; } }
