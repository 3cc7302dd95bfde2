// The tamsel stand-in grows here as the library calls it.
namespace tamsel { int Placeholder() { return 0; } }
