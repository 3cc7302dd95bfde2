// The virdun stand-in grows here as the library calls it.
namespace virdun { int Placeholder() { return 0; } }
