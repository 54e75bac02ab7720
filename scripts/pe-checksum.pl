#!/usr/bin/perl
# pe-checksum.pl FILE...
# Brings each Windows program into the form that an Authenticode signature leaves around it: the
# file padded with zero bytes to a multiple of 8 and the PE header's checksum filled in. Signing
# such a file appends only the signature, and removing the signature gives back the same bytes.
use strict;
use warnings;

for my $path (@ARGV) {
    open(my $in, '<:raw', $path) or die "pe-checksum: $path: $!\n";
    my $data = do { local $/; <$in> };
    close($in);

    die "pe-checksum: $path is not a Windows program\n" if length($data) < 0x40 || substr($data, 0, 2) ne 'MZ';
    my $pe = unpack('V', substr($data, 0x3c, 4));
    die "pe-checksum: $path has no PE header\n"
        if $pe + 24 + 68 > length($data) || substr($data, $pe, 4) ne "PE\0\0";
    # The certificate table must be empty: a signed file is signed already.
    my $magic = unpack('v', substr($data, $pe + 24, 2));
    my $directories = $pe + 24 + ($magic == 0x20b ? 112 : 96);
    die "pe-checksum: $path is signed\n" if unpack('V', substr($data, $directories + 4 * 8 + 4, 4)) != 0;

    $data .= "\0" x ((8 - length($data) % 8) % 8);
    my $field = $pe + 24 + 64;
    substr($data, $field, 4) = "\0\0\0\0";

    # The sum of all 16-bit words with the carries folded back in, plus the file's length.
    my $sum = 0;
    for my $word (unpack('v*', $data)) {
        $sum += $word;
        $sum = ($sum & 0xffff) + ($sum >> 16);
    }
    substr($data, $field, 4) = pack('V', ($sum + length($data)) & 0xffffffff);

    open(my $out, '>:raw', $path) or die "pe-checksum: $path: $!\n";
    print {$out} $data or die "pe-checksum: $path: $!\n";
    close($out) or die "pe-checksum: $path: $!\n";
}
