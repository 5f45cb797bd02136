# tests of options
