#pragma once

// Blowfish block cipher (64-bit blocks, 16 rounds, keys of 1 to 72 bytes).
//
// Buffers are processed in place and must be a non-empty multiple of 8 bytes
// long; anything else raises "Incorrect buffer length" through ThrowError.
// Each block is taken as two 32-bit halves in big-endian byte order.
//
// Modes:
//  - ECB: every block on its own; the chain block plays no part;
//  - CBC: cipher-block chaining;
//  - CFB: 64-bit cipher feedback.
// The chaining modes start from the current chain block and leave the last
// cipher block in it, so that consecutive calls continue one stream.
// ResetChain returns to the initial chain block given at construction
// (8 zero bytes unless stated). Encryption and decryption share the one chain
// block: reset it when switching direction on the same object.

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <array>

class CBlowFish {
public:
    using TBlock = std::array<quint8, 8>;

    enum class TMode { ECB, CBC, CFB };

    // Keys out of range (empty or longer than 72 bytes) raise
    // "Incorrect key length".
    explicit CBlowFish(QByteArrayView key, const TBlock& initialChain = {});

    void Encrypt(QByteArray& buffer, TMode mode = TMode::ECB);
    void Decrypt(QByteArray& buffer, TMode mode = TMode::ECB);

    void ResetChain() { m_Chain = m_InitialChain; }
    const TBlock& Chain() const { return m_Chain; }

    // One block as its two big-endian halves.
    void EncryptBlock(quint32& left, quint32& right) const;
    void DecryptBlock(quint32& left, quint32& right) const;

private:
    static constexpr int Rounds = 16;

    quint32 F(quint32 x) const;
    void EncryptBytes(quint8* block) const;
    void DecryptBytes(quint8* block) const;

    std::array<quint32, Rounds + 2> m_P;
    std::array<std::array<quint32, 256>, 4> m_S;
    TBlock m_InitialChain;
    TBlock m_Chain;
};
