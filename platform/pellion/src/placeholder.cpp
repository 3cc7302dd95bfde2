// The pellion stand-in grows here as the library calls it.
namespace pellion { int Placeholder() { return 0; } }
