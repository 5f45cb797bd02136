# tests of wizard
