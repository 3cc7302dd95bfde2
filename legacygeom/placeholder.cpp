// The legacy geometry library grows here.
int CorvaneGeomPlaceholder() { return 0; }
