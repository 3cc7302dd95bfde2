// The dao stand-in grows here as the library calls it.
namespace dao { int Placeholder() { return 0; } }
