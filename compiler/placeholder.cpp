// Replaced by the compiler's phases.
namespace cvork2 { int placeholder() { return 0; } }
