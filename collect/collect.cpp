void collect() {}
