# tests of appearance
