// The quenby stand-in grows here as the library calls it.
namespace quenby { int Placeholder() { return 0; } }
